// The text of the statistics report: one line per band, the totals and the
// claimed score, as the window shows it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "scoring/QSO.h"

// Puts copies of `fill` in front of `text` until it is `width` characters
// long; a longer text comes back whole.
std::string PadLeft(std::string_view text, int width, std::string_view fill);

// The whole report for the tallies in list order, lines joined by CR LF,
// without a line break at the end.
std::string StatisticReportText(const std::vector<TStatistic>& statList);
