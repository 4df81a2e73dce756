#include "contest-sim/SimTruth.h"

#include <unordered_map>
#include <unordered_set>

#include "logfiles/LogRow.h"
#include "scoring/MemberMatcher.h"
#include "scoring/TextRules.h"
#include "velmora-score/ScoreLog.h"

std::string_view VerdictName(TVerdict verdict)
{
    return kVerdictNames[static_cast<std::size_t>(verdict)];
}

bool KeepsCredit(TVerdict verdict)
{
    return verdict == TVerdict::Ok || verdict == TVerdict::NoLog || verdict == TVerdict::Unique;
}

std::int64_t ScoreByPluginRules(const std::vector<TScoredRow>& rows, std::vector<std::int32_t>* points)
{
    std::vector<TLogRow> table(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        table[i][TLogColumn::CallSign] = rows[i].Call;
        table[i][TLogColumn::DigiBand] = rows[i].Band;
        table[i][TLogColumn::QSOMode] = rows[i].Mode;
        table[i][TLogColumn::QSOReportRecived] = rows[i].Received;
    }
    const TScoredLog scored = ScoreLogRows(table);
    std::int64_t totalPoints = 0;
    std::int64_t totalMembers = 0;
    for (const TStatistic& tally : scored.StatList) {
        totalPoints += tally.Points;
        totalMembers += tally.Members;
    }
    if (points) {
        points->clear();
        for (const TContactVerdict& verdict : scored.Verdicts)
            points->push_back(verdict.Result);
    }
    return totalPoints * totalMembers;
}

namespace {

struct TEntryPlace {
    std::uint32_t Log = kNoContact;
    std::uint32_t Entry = 0;
};

// How many different logs hold a line with each call (X-QSO lines aside).
std::unordered_map<std::string, std::uint32_t> LogsPerCall(const TSimContest& contest)
{
    std::unordered_map<std::string, std::pair<std::uint32_t, std::uint32_t>> seen;  // last log, count
    for (std::uint32_t log = 0; log < contest.Logs.size(); ++log) {
        for (const TSimEntry& entry : contest.Logs[log].Entries) {
            if (entry.XQso)
                continue;
            auto [place, added] = seen.try_emplace(entry.Call, log, 1u);
            if (!added && place->second.first != log) {
                place->second.first = log;
                ++place->second.second;
            }
        }
    }
    std::unordered_map<std::string, std::uint32_t> counts;
    counts.reserve(seen.size());
    for (const auto& [call, lastAndCount] : seen)
        counts.emplace(call, lastAndCount.second);
    return counts;
}

TScoredRow RowOf(const TSimContest& contest, const TSimLog& log, const TSimEntry& entry)
{
    const TSimStation& station = contest.Stations[log.Station];
    return {entry.Call, kSimBandNames[entry.Band], ModeText(station, entry.Mode),
            std::string(ReportOf(entry.Mode)) + " " + entry.ReceivedExchange};
}

}  // namespace

std::vector<TLogTruth> JudgeContest(TSimContest& contest)
{
    const std::vector<TSimStation>& stations = contest.Stations;
    std::unordered_map<std::string, std::uint32_t> stationOfCall;
    for (std::uint32_t i = 0; i < stations.size(); ++i)
        stationOfCall.emplace(stations[i].Call, i);

    std::vector<std::array<TEntryPlace, 2>> placeOf(contest.Contacts.size());
    for (std::uint32_t log = 0; log < contest.Logs.size(); ++log) {
        const std::vector<TSimEntry>& entries = contest.Logs[log].Entries;
        for (std::uint32_t i = 0; i < entries.size(); ++i)
            // A contact entered twice answers with its first entry: the
            // second is the duplicate.
            if (!entries[i].XQso && placeOf[entries[i].Contact][entries[i].Side].Log == kNoContact)
                placeOf[entries[i].Contact][entries[i].Side] = {log, i};
    }
    const std::unordered_map<std::string, std::uint32_t> logsPerCall = LogsPerCall(contest);
    const TMemberMatcher matcher;

    std::vector<TLogTruth> truths(contest.Logs.size());
    for (std::uint32_t log = 0; log < contest.Logs.size(); ++log) {
        TSimLog& simLog = contest.Logs[log];
        const TSimStation& self = stations[simLog.Station];
        TLogTruth& truth = truths[log];
        truth.Lines.resize(simLog.Entries.size());
        // The plug-in's duplicate rule: the same call, band text and mode text.
        std::unordered_set<std::string> workedBefore;

        for (std::size_t i = 0; i < simLog.Entries.size(); ++i) {
            const TSimEntry& entry = simLog.Entries[i];
            TLineTruth& line = truth.Lines[i];
            if (entry.XQso) {
                line.Verdict = TVerdict::XQso;
                continue;
            }
            const std::string& mode = ModeText(self, entry.Mode);
            const bool firstTime =
                workedBefore.insert(entry.Call + '\t' + kSimBandNames[entry.Band] + '\t' + mode).second;
            if (entry.LoggedMinute < contest.Options.From || entry.LoggedMinute >= contest.Options.To) {
                line.Verdict = TVerdict::OutOfPeriod;
                continue;
            }
            if (!firstTime) {
                line.Verdict = TVerdict::Dupe;
                continue;
            }

            const TSimContact& contact = contest.Contacts[entry.Contact];
            const TSimStation& partner = stations[contact.Station[1 - entry.Side]];
            const TEntryPlace other = placeOf[entry.Contact][1 - entry.Side];
            const TSimEntry* answer =
                other.Log == kNoContact ? nullptr : &contest.Logs[other.Log].Entries[other.Entry];

            if (answer && entry.Call == partner.Call) {
                // Matched: the other side's log says what it sent.
                if (entry.ReceivedExchange != answer->SentExchange) {
                    line.Verdict = TVerdict::BustedExchange;
                    line.Detail = partner.Call + " sent " + answer->SentExchange;
                }
                continue;
            }
            if (answer && answer->Call == self.Call) {
                line.Verdict = TVerdict::BustedCall;
                line.Detail = "worked " + partner.Call + " (line " + std::to_string(answer->Line) + ")";
                continue;
            }
            // Nothing in another log answers this line: judge it by its call.
            const auto heard = stationOfCall.find(entry.Call);
            const TSimStation* station = heard == stationOfCall.end() ? nullptr : &stations[heard->second];
            if (station && station->Submits) {
                line.Verdict = TVerdict::Nil;
                line.Detail = "not in the log of " + station->Call;
                continue;
            }
            if (station && station->Member != 0) {
                const std::string received = UpperAsciiLetters(entry.ReceivedExchange);
                const std::string member = "VC" + std::to_string(station->Member);
                const std::string_view heardNumber = matcher.FindMemberNumber(received);
                if (!heardNumber.empty() && heardNumber != member) {
                    line.Verdict = TVerdict::BustedExchange;
                    line.Detail = station->Call + " is member " + member;
                    continue;
                }
            }
            line.Verdict = logsPerCall.at(entry.Call) >= 2 ? TVerdict::NoLog : TVerdict::Unique;
        }

        std::vector<TScoredRow> claimed;
        std::vector<TScoredRow> kept;
        std::vector<std::size_t> keptLines;
        for (std::size_t i = 0; i < simLog.Entries.size(); ++i) {
            const TSimEntry& entry = simLog.Entries[i];
            if (entry.XQso)
                continue;
            claimed.push_back(RowOf(contest, simLog, entry));
            if (KeepsCredit(truth.Lines[i].Verdict)) {
                kept.push_back(claimed.back());
                keptLines.push_back(i);
            }
        }
        std::vector<std::int32_t> points;
        truth.ClaimedScore = ScoreByPluginRules(claimed);
        truth.CheckedScore = ScoreByPluginRules(kept, &points);
        for (std::size_t k = 0; k < keptLines.size(); ++k)
            truth.Lines[keptLines[k]].Points = points[k] > 0 ? points[k] : 0;
        truth.ClaimedContacts = claimed.size();
        truth.CheckedContacts = kept.size();
        for (const TLineTruth& line : truth.Lines)
            ++truth.Counts[static_cast<std::size_t>(line.Verdict)];
        simLog.ClaimedScore = truth.ClaimedScore;
    }
    return truths;
}
