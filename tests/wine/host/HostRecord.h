// The text the report should show.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace host {

// One line of the per-band table.
struct TBandLine {
    std::string Band;
    int QSOs;
    int Points;
    int Members;
};

// The report for these band lines, in this order, with totals and score.
std::string ExpectedReport(std::initializer_list<TBandLine> bands);

// The report of a window with no counted contact.
inline constexpr std::string_view kEmptyReport =
    "Band\t  QSOs\tPoints\tVClist\t\r\nTotal\t     0\t     0\t     0\t\r\n Score: 0*0=0";

}  // namespace host
