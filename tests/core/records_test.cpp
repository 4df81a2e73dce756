// The records shared with the host: the rules for reading and writing their
// length-prefixed slots, the whole-record copy, and the bytes the plug-in
// information may change. (The offsets themselves are pinned at compile time.)
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "plugin/PluginRecords.h"

namespace {

TPluginData RecordFromBytes(const std::vector<unsigned char>& bytes)
{
    TPluginData record;
    std::memcpy(&record, bytes.data(), sizeof record);
    return record;
}

}  // namespace

TEST(Records, SlotReadTakesExactlyTheLengthByte)
{
    TShortStringSlot slot;
    std::memset(slot.Bytes, 'x', sizeof slot.Bytes);

    slot.Bytes[0] = 0;
    EXPECT_EQ(ReadSlot(slot), "") << "length 0 reads empty whatever the slot holds";

    slot.Bytes[0] = 3;
    slot.Bytes[2] = '\0';
    EXPECT_EQ(ReadSlot(slot), std::string("x\0x", 3)) << "a NUL inside the length is a character, not an end";

    slot.Bytes[0] = 255;
    slot.Bytes[255] = 'z';
    const std::string full = ReadSlot(slot);
    EXPECT_EQ(full.size(), 255u) << "length 255 uses the whole slot";
    EXPECT_EQ(full.back(), 'z') << "the last character is the slot's last byte";
}

TEST(Records, SlotWriteTouchesOnlyLengthAndCharacters)
{
    TShortStringSlot slot;
    std::memset(slot.Bytes, 0xAB, sizeof slot.Bytes);

    WriteSlot(slot, "K1ABC");
    EXPECT_EQ(slot.Bytes[0], 5) << "length byte";
    EXPECT_EQ(ReadSlot(slot), "K1ABC");
    EXPECT_EQ(slot.Bytes[6], 0xAB) << "no terminator written after the characters";
    EXPECT_EQ(slot.Bytes[255], 0xAB) << "the slot's tail keeps what it held";

    WriteSlot(slot, "");
    EXPECT_EQ(slot.Bytes[0], 0) << "empty text writes length 0";
    EXPECT_EQ(slot.Bytes[1], 'K') << "an empty write leaves the old characters";

    const std::string longText = std::string(255, 'a') + "bcdefghijklmnopqrstuvwxyz" + std::string(20, 'q');
    WriteSlot(slot, longText);
    EXPECT_EQ(slot.Bytes[0], 255) << "a longer text is cut to 255";
    EXPECT_EQ(ReadSlot(slot), longText.substr(0, 255)) << "the first 255 characters are kept";
}

TEST(Records, WholeRecordCopy)
{
    std::vector<unsigned char> bytes(5916);
    for (std::size_t at = 0; at < bytes.size(); ++at)
        bytes[at] = static_cast<unsigned char>(at * 7 + 3);
    const TPluginData source = RecordFromBytes(bytes);
    TPluginData target;
    std::memset(&target, 0, sizeof target);

    CopyRecord(target, source);
    EXPECT_EQ(std::memcmp(&target, &source, sizeof target), 0) << "all 5916 bytes, reserved ranges included";

    CopyRecord(target, target);
    EXPECT_EQ(std::memcmp(&target, &source, sizeof target), 0) << "a copy onto itself changes nothing";
}

TEST(Records, PluginInfoChangesOnlyItsOwnBytes)
{
    // The host's record may be longer than ours; bytes past 519 are its own.
    struct THostInfo {
        TPluginInfo Info;
        unsigned char Beyond[64];
    } host;
    std::memset(&host, 0x5A, sizeof host);

    FillPluginInfo(host.Info);
    FillPluginInfo(host.Info);

    unsigned char bytes[sizeof host];
    std::memcpy(bytes, &host, sizeof host);
    std::string expected(sizeof host, '\x5A');
    expected.replace(0, 11, std::string("\x0A") + "VelmoraCup");
    expected.replace(256, 4, std::string("\x01\x00\x00\x00", 4));
    expected.replace(260, 15, std::string("\x0E") + "qorvex_contest");
    expected.replace(516, 4, std::string("\x01\x00\x00\x00", 4));
    for (std::size_t at = 0; at < sizeof host; ++at) {
        EXPECT_EQ(bytes[at], static_cast<unsigned char>(expected[at])) << "byte " << at << " after filling the info";
    }
}
