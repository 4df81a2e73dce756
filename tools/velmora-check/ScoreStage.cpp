#include "velmora-check/ScoreStage.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>

#include "logfiles/LogRow.h"
#include "velmora-score/ScoreLog.h"

namespace {

TLogRow RowOf(const TCheckLog& log, const TCheckContact& contact)
{
    TLogRow row;
    const TLogColumn columns[kScoringCellCount] = {TLogColumn::CallSign, TLogColumn::DigiBand, TLogColumn::QSOMode,
                                                   TLogColumn::QSOReportRecived};
    for (std::size_t cell = 0; cell < kScoringCellCount; ++cell) {
        if ((contact.RowNullCells & (1u << cell)) == 0)
            row[columns[cell]] = std::string(log.Text(contact.RowCells[cell]));
    }
    return row;
}

struct TScore {
    std::int64_t Score = 0;
    std::vector<std::int32_t> Results;  // per row given
};

// Scores the contacts chosen, in the order of the log, as one log file.
TScore ScoreContacts(const TCheckLog& log, const std::vector<std::uint32_t>& chosen)
{
    std::vector<TLogRow> rows;
    rows.reserve(chosen.size());
    for (const std::uint32_t c : chosen)
        rows.push_back(RowOf(log, log.Contacts[c]));
    const TScoredLog scored = ScoreLogRows(rows);
    std::int64_t points = 0;
    std::int64_t members = 0;
    for (const TStatistic& tally : scored.StatList) {
        points += tally.Points;
        members += tally.Members;
    }
    TScore score;
    score.Score = points * members;
    score.Results.reserve(scored.Verdicts.size());
    for (const TContactVerdict& verdict : scored.Verdicts)
        score.Results.push_back(verdict.Result);
    return score;
}

void ForEachLog(TCheckRun& run, unsigned jobs, const std::function<void(TCheckLog&)>& work)
{
    std::atomic<std::size_t> next{0};
    const auto worker = [&] {
        for (std::size_t l = next++; l < run.Logs.size(); l = next++)
            work(run.Logs[l]);
    };
    const unsigned threadCount = std::max(1u, std::min<unsigned>(
        jobs == 0 ? std::max(1u, std::thread::hardware_concurrency()) : jobs,
        static_cast<unsigned>(std::max<std::size_t>(1, run.Logs.size()))));
    std::vector<std::thread> threads;
    for (unsigned t = 1; t < threadCount; ++t)
        threads.emplace_back(worker);
    worker();
    for (std::thread& thread : threads)
        thread.join();
}

}  // namespace

void ScoreClaimed(TCheckRun& run, unsigned jobs)
{
    ForEachLog(run, jobs, [](TCheckLog& log) {
        std::vector<std::uint32_t> rows;
        for (std::uint32_t c = 0; c < log.Contacts.size(); ++c)
            if (!log.Contacts[c].IsXQso)
                rows.push_back(c);
        const TScore score = ScoreContacts(log, rows);
        for (std::size_t i = 0; i < rows.size(); ++i)
            log.Contacts[rows[i]].ClaimedResult = static_cast<std::int8_t>(score.Results[i]);
        log.ClaimedScore = score.Score;
        log.ClaimedContacts = rows.size();
    });
}

void ScoreChecked(TCheckRun& run, unsigned jobs)
{
    const std::int64_t penalty = run.Options.NilPenalty;
    const bool removeUniques = run.Options.RemoveUniques;
    ForEachLog(run, jobs, [penalty, removeUniques](TCheckLog& log) {
        std::vector<std::uint32_t> credited;
        std::int64_t penaltyPoints = 0;
        std::fill(std::begin(log.VerdictCounts), std::end(log.VerdictCounts), 0);
        for (std::uint32_t c = 0; c < log.Contacts.size(); ++c) {
            TCheckContact& contact = log.Contacts[c];
            ++log.VerdictCounts[static_cast<std::size_t>(contact.Verdict)];
            contact.CheckedPoints = 0;
            if (KeepsCredit(contact.Verdict) && !contact.IsXQso &&
                !(removeUniques && contact.Verdict == TVerdict::Unique))
                credited.push_back(c);
            else if (IsCopyingError(contact.Verdict) && contact.ClaimedResult > 0) {
                contact.CheckedPoints = -penalty * contact.ClaimedResult;
                penaltyPoints += penalty * contact.ClaimedResult;
            }
        }
        const TScore score = ScoreContacts(log, credited);
        for (std::size_t i = 0; i < credited.size(); ++i)
            log.Contacts[credited[i]].CheckedPoints = std::max(0, score.Results[i]);
        log.CheckedScore = score.Score - penaltyPoints;
        log.CheckedContacts = credited.size();
    });
}
