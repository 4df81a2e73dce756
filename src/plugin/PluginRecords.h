// The two fixed-layout records shared with the host logger, byte for byte.
// The host is built separately, so every offset below is part of the contract:
// the static_asserts pin them at compile time on every toolchain.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// A length-prefixed string in a 256-byte slot: byte 0 is the length (0-255),
// the characters follow without a terminator; bytes past the text mean nothing.
struct TShortStringSlot {
    std::uint8_t Bytes[256];
};

#pragma pack(push, 1)
struct TPluginData {
    std::uint32_t Connection;  // the host's database connection (a 32-bit COM pointer)
    std::uint8_t ReservedHost1[8];
    TShortStringSlot TableName;
    TShortStringSlot CallSign;
    std::uint8_t ReservedHost2[16];
    TShortStringSlot DigiBand;
    TShortStringSlot QSOMode;
    TShortStringSlot Continent;
    TShortStringSlot QSOReportRecived;
    std::uint8_t ReservedHost3[768];
    TShortStringSlot MainPrefix;
    TShortStringSlot DXCCPrefix;
    std::uint8_t ReservedHost4[256];
    TShortStringSlot ITUZone;
    std::uint8_t ReservedHost5[512];
    TShortStringSlot CaptionPrefix;
    std::uint8_t ReservedHost6[1792];
};

struct TPluginInfo {
    TShortStringSlot PluginName;
    std::int32_t InfoValue1;
    TShortStringSlot PluginKind;
    std::int32_t InfoValue2;
};
#pragma pack(pop)

static_assert(sizeof(TShortStringSlot) == 256);
static_assert(offsetof(TPluginData, Connection) == 0);
static_assert(offsetof(TPluginData, ReservedHost1) == 4);
static_assert(offsetof(TPluginData, TableName) == 12);
static_assert(offsetof(TPluginData, CallSign) == 268);
static_assert(offsetof(TPluginData, ReservedHost2) == 524);
static_assert(offsetof(TPluginData, DigiBand) == 540);
static_assert(offsetof(TPluginData, QSOMode) == 796);
static_assert(offsetof(TPluginData, Continent) == 1052);
static_assert(offsetof(TPluginData, QSOReportRecived) == 1308);
static_assert(offsetof(TPluginData, ReservedHost3) == 1564);
static_assert(offsetof(TPluginData, MainPrefix) == 2332);
static_assert(offsetof(TPluginData, DXCCPrefix) == 2588);
static_assert(offsetof(TPluginData, ReservedHost4) == 2844);
static_assert(offsetof(TPluginData, ITUZone) == 3100);
static_assert(offsetof(TPluginData, ReservedHost5) == 3356);
static_assert(offsetof(TPluginData, CaptionPrefix) == 3868);
static_assert(offsetof(TPluginData, ReservedHost6) == 4124);
static_assert(sizeof(TPluginData) == 5916);

static_assert(offsetof(TPluginInfo, PluginName) == 0);
static_assert(offsetof(TPluginInfo, InfoValue1) == 256);
static_assert(offsetof(TPluginInfo, PluginKind) == 260);
static_assert(offsetof(TPluginInfo, InfoValue2) == 516);
static_assert(sizeof(TPluginInfo) == 520);

// Exactly as many characters as the length byte says.
std::string ReadSlot(const TShortStringSlot& slot);

// Stores at most 255 characters; touches only the length byte and the
// characters, so the rest of the slot keeps whatever the host left there.
void WriteSlot(TShortStringSlot& slot, std::string_view text);

// The whole-record copy every entry point makes before anything else.
void CopyRecord(TPluginData& target, const TPluginData& source);

// Writes the plug-in's name, kind and the two integers into a host-owned
// record. Only bytes 0-10, 256-274 and 516-519 change: the host may keep
// its own data in the tails of the slots.
void FillPluginInfo(TPluginInfo& info);

inline constexpr std::string_view kPluginName = "VelmoraCup";
inline constexpr std::string_view kPluginKind = "qorvex_contest";

// The text of a slot without copying it; valid while the record lives.
inline std::string_view SlotView(const TShortStringSlot& slot)
{
    return std::string_view(reinterpret_cast<const char*>(slot.Bytes + 1), slot.Bytes[0]);
}
