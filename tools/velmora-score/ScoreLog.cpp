#include "velmora-score/ScoreLog.h"

#include <cstring>
#include <string_view>

#include "logfiles/LogCollation.h"
#include "logfiles/RowsLogQuery.h"
#include "plugin/PluginRecords.h"
#include "recalc/RecalcFromLog.h"
#include "scoring/ContestScorer.h"
#include "scoring/StatisticReport.h"

namespace {

// A key is the band, "|", the member number, "|"; the band may itself hold
// "|" but the number never does, so it is the last part.
std::string MemberOfKey(std::string_view key)
{
    key.remove_suffix(1);
    return std::string(key.substr(key.rfind('|') + 1));
}

}  // namespace

TScoredLog ScoreLogRows(const std::vector<TLogRow>& rows)
{
    TScoredLog scored;
    scored.Verdicts.resize(rows.size());

    TRowsLogQuery query(rows, CallSignOrder(rows));
    TContestScorer state;
    // The host record the rebuild reads the table name from and writes each
    // row into; the name only ends up in the statement, which this query
    // serves whatever it says.
    TPluginData currentData;
    std::memset(&currentData, 0, sizeof currentData);
    WriteSlot(currentData.TableName, "Log");

    std::size_t countedKeys = 0;
    TRecalcHooks hooks;
    hooks.RowScored = [&](std::int32_t result) {
        TContactVerdict& verdict = scored.Verdicts[query.CurrentRow()];
        verdict.Result = result;
        // A counted member number is the one key the scorer appends.
        if (state.MemberKeys().size() > countedKeys) {
            verdict.Member = MemberOfKey(state.MemberKeys().back());
            countedKeys = state.MemberKeys().size();
        }
    };
    RecalcFromLog(currentData, state, query, hooks);

    scored.StatList = state.StatList();
    scored.Report = StatisticReportText(scored.StatList);
    return scored;
}
