#include "plugin/PluginRecords.h"

#include <algorithm>
#include <cstring>

std::string ReadSlot(const TShortStringSlot& slot)
{
    const auto length = slot.Bytes[0];
    return std::string(reinterpret_cast<const char*>(slot.Bytes + 1), length);
}

void WriteSlot(TShortStringSlot& slot, std::string_view text)
{
    const auto length = std::min<std::size_t>(text.size(), 255);
    slot.Bytes[0] = static_cast<std::uint8_t>(length);
    if (length != 0)
        std::memcpy(slot.Bytes + 1, text.data(), length);
}

void CopyRecord(TPluginData& target, const TPluginData& source)
{
    // memmove: the host may hand back the very record we copied from.
    std::memmove(&target, &source, sizeof(TPluginData));
}

void FillPluginInfo(TPluginInfo& info)
{
    // Field by field through the raw bytes, never a whole-struct store, so
    // nothing outside the written ranges is touched.
    const std::int32_t one = 1;
    WriteSlot(info.PluginName, kPluginName);
    std::memcpy(reinterpret_cast<unsigned char*>(&info) + offsetof(TPluginInfo, InfoValue1), &one, sizeof one);
    WriteSlot(info.PluginKind, kPluginKind);
    std::memcpy(reinterpret_cast<unsigned char*>(&info) + offsetof(TPluginInfo, InfoValue2), &one, sizeof one);
}
