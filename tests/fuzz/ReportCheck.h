// Reads a statistics report back and holds it against the tallies it was
// made from: every band line's three numbers, the total line and the score.
#pragma once

#include <string_view>
#include <vector>

#include "scoring/QSO.h"

// Aborts (as a fuzz finding) when `report` is not exactly the report of
// `statList`: the header, one line per tally in list order, the totals in
// 64 bits, the score as points times members, and no line break at the end.
void CheckReportAgainstTallies(std::string_view report, const std::vector<TStatistic>& statList);
