// Scoring a whole log the way the plug-in rebuilds its picture from the
// host's log table, and keeping what happened to every contact on the way.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "logfiles/LogRow.h"
#include "scoring/QSO.h"

struct TContactVerdict {
    // As the scorer answered: -1 for a duplicate, else the points, 1 or 3.
    std::int32_t Result = 0;
    // The member number this contact counted on its band ("VC12"); empty
    // when it counted none.
    std::string Member;
};

struct TScoredLog {
    // The statistics text as the window shows it after a rebuild: lines
    // joined by CR LF, no line break at the end.
    std::string Report;
    std::vector<TStatistic> StatList;
    // One per row, in the order of the rows given (not the order scored).
    std::vector<TContactVerdict> Verdicts;
};

// Orders the rows by CallSign as the host's database does, runs the rebuild
// over them, and writes the report as the rebuild's action does.
TScoredLog ScoreLogRows(const std::vector<TLogRow>& rows);
