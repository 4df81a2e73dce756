// The records a host builds: a TPluginData for every call, with the log
// table's name in each (the plug-in keeps the name of the latest record for
// its next rebuild) and the host's own bytes in the reserved ranges.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "plugin/PluginRecords.h"

namespace hostkit {

// The host's side of the length-prefixed slots, written apart from the
// plug-in's own helpers so that the two cannot share one mistake.
std::string SlotText(const TShortStringSlot& slot);
// At most 255 characters; only the length byte and the characters change.
void PutSlot(TShortStringSlot& slot, std::string_view text);

// The byte a host leaves in the reserved ranges: a plug-in must neither read
// nor depend on them, and zeros would hide it if it did.
inline constexpr std::uint8_t kReservedFill = 0xA5;

class THostRecord {
public:
    THostRecord(std::uint32_t connection, std::string_view table, std::string_view captionPrefix = "Main");
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
    // On the heap: 5916 bytes, and the plug-in keeps no pointer to it.
    std::unique_ptr<TPluginData> Data_;
};

}  // namespace hostkit
