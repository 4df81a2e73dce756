// Rebuilding the whole scoring state from the host's log table.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "plugin/PluginRecords.h"
#include "recalc/LogQuery.h"
#include "scoring/ContestScorer.h"

// The window's side of a rebuild: emptying the report box, and one pass
// over the thread's waiting messages right after the query opened.
struct TRecalcHooks {
    std::function<void()> ClearReport;
    std::function<void()> PassMessages;
    // Tools that report on every contact: called after each row's ScoreQSO
    // with its result, while the query still stands on that row. The
    // initializer lets callers that name only the first two hooks leave it out.
    std::function<void(std::int32_t result)> RowScored = nullptr;
};

std::string LogStatement(const TPluginData& currentData);

// Empties the state, reads every row of CurrentData.TableName in the order
// the database returns it into `currentData`, and scores each one. On
// success CurrentData.DigiBand is restored and the query closed; an error
// propagates and leaves the state with the rows counted before it.
void RecalcFromLog(TPluginData& currentData, TContestScorer& state, TLogQuery& query, const TRecalcHooks& hooks);
