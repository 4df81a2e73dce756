// The records a host builds: a TPluginData per call, with the host's own
// bytes in the reserved ranges, and the text the report should show.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "plugin/PluginRecords.h"

namespace host {

// The host's side of the length-prefixed slots, written independently of
// the plug-in's own helpers so both cannot share one mistake.
std::string SlotText(const TShortStringSlot& slot);
void PutSlot(TShortStringSlot& slot, std::string_view text);

class THostRecord {
public:
    // Reserved ranges hold a host pattern, as a real host leaves its own data
    // there; the plug-in must neither read nor depend on them.
    THostRecord(std::uint32_t connection, std::string_view table);
    THostRecord(const THostRecord& other);
    THostRecord& operator=(const THostRecord& other);

    THostRecord& Table(std::string_view text);
    THostRecord& Call(std::string_view text);
    THostRecord& Band(std::string_view text);
    THostRecord& Mode(std::string_view text);
    THostRecord& Exchange(std::string_view text);
    THostRecord& Caption(std::string_view text);
    THostRecord& Connection(std::uint32_t connection);

    const TPluginData* Get() const { return Data_.get(); }
    TPluginData& Data() { return *Data_; }

private:
    std::unique_ptr<TPluginData> Data_;
};

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
