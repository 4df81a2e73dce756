#include "velmora-check/ScoreStage.h"

#include <algorithm>

#include "logfiles/LogCollation.h"
#include "velmora-check/ParallelLogs.h"
#include "scoring/ContestScorer.h"

namespace {

// The length of a text field of the host's record.
constexpr std::size_t kRecordFieldLength = 255;

// A cell as the plug-in's host record holds it: NULL reads as the empty
// text, and a record field keeps at most 255 characters.
std::string_view CellOf(const TCheckLog& log, const TCheckContact& contact, std::size_t cell)
{
    if ((contact.RowNullCells & (1u << cell)) != 0)
        return {};
    return log.Text(contact.RowCells[cell]).substr(0, kRecordFieldLength);
}

// The rows of the log table (X-QSO lines have none) in the order the host's
// database returns "order by CallSign": NULL first, then by the collation,
// equal calls in the order of the log.
std::vector<std::uint32_t> CallSignOrderOf(const TCheckLog& log)
{
    std::vector<std::pair<bool, std::string>> keys(log.Contacts.size());
    std::vector<std::uint32_t> order;
    for (std::uint32_t c = 0; c < Count32(log.Contacts); ++c) {
        const TCheckContact& contact = log.Contacts[c];
        if (contact.IsXQso)
            continue;
        order.push_back(c);
        const bool isNull = (contact.RowNullCells & (1u << kRowCall)) != 0;
        keys[c] = {!isNull, CaseInsensitiveCollationKey(isNull ? std::string_view() : log.Text(contact.RowCells[kRowCall]))};
    }
    std::stable_sort(order.begin(), order.end(), [&keys](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });
    return order;
}

// Runs the contacts of `order` that `take` accepts through the plug-in's
// scorer one by one, as its rebuild from the log table does, and returns the
// claimed score of the statistics (points times members). `scored` gets
// each contact's result: -1 for a duplicate, else its points.
template <typename Take, typename Scored>
std::int64_t RunScorer(const TCheckLog& log, const std::vector<std::uint32_t>& order, Take take, Scored scored)
{
    TContestScorer scorer;
    for (const std::uint32_t c : order) {
        const TCheckContact& contact = log.Contacts[c];
        if (!take(contact))
            continue;
        const TContact fields{CellOf(log, contact, kRowCall), CellOf(log, contact, kRowBand),
                              CellOf(log, contact, kRowMode), CellOf(log, contact, kRowReceived)};
        scored(c, scorer.ScoreQSO(fields, true));
    }
    std::int64_t points = 0;
    std::int64_t members = 0;
    for (const TStatistic& tally : scorer.StatList()) {
        points += tally.Points;
        members += tally.Members;
    }
    return points * members;
}

}  // namespace

void ScoreClaimed(TCheckRun& run, unsigned jobs)
{
    ForEachLogInParallel(run, jobs, [](TCheckLog& log) {
        log.ScoringOrder = CallSignOrderOf(log);
        log.ClaimedScore = RunScorer(
            log, log.ScoringOrder, [](const TCheckContact&) { return true; },
            [&log](std::uint32_t c, std::int32_t result) { log.Contacts[c].ClaimedResult = static_cast<std::int8_t>(result); });
        log.ClaimedContacts = log.ScoringOrder.size();
    });
}

void ScoreChecked(TCheckRun& run, unsigned jobs)
{
    const std::int64_t penalty = run.Options.NilPenalty;
    const bool removeUniques = run.Options.RemoveUniques;
    ForEachLogInParallel(run, jobs, [penalty, removeUniques](TCheckLog& log) {
        std::int64_t penaltyPoints = 0;
        std::fill(std::begin(log.VerdictCounts), std::end(log.VerdictCounts), 0);
        log.CheckedContacts = 0;
        for (TCheckContact& contact : log.Contacts) {
            ++log.VerdictCounts[static_cast<std::size_t>(contact.Verdict)];
            contact.CheckedPoints = 0;
            if (IsCopyingError(contact.Verdict) && contact.ClaimedResult > 0) {
                contact.CheckedPoints = -penalty * contact.ClaimedResult;
                penaltyPoints += penalty * contact.ClaimedResult;
            }
        }
        const auto credited = [removeUniques](const TCheckContact& contact) {
            return KeepsCredit(contact.Verdict) && !(removeUniques && contact.Verdict == TVerdict::Unique);
        };
        // The same order, less the contacts that lost credit: what the
        // database returns for a log holding only the credited contacts.
        const std::int64_t score = RunScorer(log, log.ScoringOrder, credited, [&log](std::uint32_t c, std::int32_t result) {
            log.Contacts[c].CheckedPoints = std::max(0, result);
            ++log.CheckedContacts;
        });
        log.CheckedScore = score - penaltyPoints;
    });
}
