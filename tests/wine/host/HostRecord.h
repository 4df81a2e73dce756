// The records a host builds, and the text the report should show.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "hostkit/HostRecord.h"

namespace host {

// The records come from hostkit: a TPluginData per call with the table's
// name and the host's own bytes in the reserved ranges, and the host's own
// reading and writing of the slots, independent of the plug-in's helpers.
using hostkit::PutSlot;
using hostkit::SlotText;
using hostkit::THostRecord;

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
