// What every entry point does before and around the window: the record is
// copied first, "no window" answers 0 or the empty text, the adding path
// sorts only after a counted contact and rewrites the report every time,
// and null addresses from a host are answered without being followed.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "plugin/EntryPoints.h"

namespace {

class TRecordingWindow final : public TScoringWindow {
public:
    std::int32_t ScoreQSO(bool add) override
    {
        Calls.push_back(add ? "add" : "preview");
        return NextResult;
    }
    void SortQSOList() override { Calls.push_back("sort"); }
    void ShowStatistic() override { Calls.push_back("report"); }
    std::string FindMemberNumber() const override { return Number; }

    std::int32_t NextResult = 1;
    std::string Number;
    std::vector<std::string> Calls;
};

TPluginData RecordWithCall(const std::string& call)
{
    TPluginData record;
    std::memset(&record, 0x5A, sizeof record);
    WriteSlot(record.CallSign, call);
    return record;
}

using TCalls = std::vector<std::string>;

}  // namespace

TEST(EntryPoints, AddingSortsOnlyAfterACountedContactAndAlwaysReports)
{
    TPluginData current = {};
    TRecordingWindow window;
    const TPluginData record = RecordWithCall("DL1ABC");

    window.NextResult = 3;
    EXPECT_EQ(AddQSOEntry(current, &record, &window), 3);
    EXPECT_EQ(window.Calls, (TCalls{"add", "sort", "report"}));
    EXPECT_EQ(std::memcmp(&current, &record, sizeof record), 0) << "the whole record, reserved bytes too, is copied";

    window.Calls.clear();
    window.NextResult = -1;
    EXPECT_EQ(AddQSOEntry(current, &record, &window), -1);
    EXPECT_EQ(window.Calls, (TCalls{"add", "report"})) << "a duplicate is not sorted but still reported";
}

TEST(EntryPoints, NoWindowCopiesTheRecordAndAnswersNothing)
{
    TPluginData current = {};
    const TPluginData record = RecordWithCall("K1XYZ");

    EXPECT_EQ(AddQSOEntry(current, &record, nullptr), 0);
    EXPECT_EQ(ReadSlot(current.CallSign), "K1XYZ") << "copied even without a window";
    current = {};
    EXPECT_EQ(GetScoreEntry(current, &record, nullptr), 0);
    EXPECT_EQ(ReadSlot(current.CallSign), "K1XYZ");

    TShortStringSlot result;
    std::memset(result.Bytes, '#', sizeof result.Bytes);
    GrabNumberEntry(current, &record, nullptr, &result);
    EXPECT_EQ(result.Bytes[0], 0) << "empty text";
    EXPECT_EQ(result.Bytes[1], '#') << "the rest of the buffer is left alone";
}

TEST(EntryPoints, PreviewAndLookupGoThroughTheWindow)
{
    TPluginData current = {};
    TRecordingWindow window;
    const TPluginData record = RecordWithCall("OK1AA");

    window.NextResult = 1;
    EXPECT_EQ(GetScoreEntry(current, &record, &window), 1);
    EXPECT_EQ(window.Calls, (TCalls{"preview"})) << "a preview neither sorts nor reports";

    TShortStringSlot result;
    std::memset(result.Bytes, '#', sizeof result.Bytes);
    window.Number = "VC12";
    GrabNumberEntry(current, &record, &window, &result);
    EXPECT_EQ(ReadSlot(result), "VC12");
    EXPECT_EQ(result.Bytes[5], '#') << "only the length byte and the characters are written";
}

TEST(EntryPoints, NullAddressesAreAnsweredLikeNoWindow)
{
    TPluginData current = RecordWithCall("KEPT");
    TRecordingWindow window;

    EXPECT_EQ(AddQSOEntry(current, nullptr, &window), 0);
    EXPECT_EQ(GetScoreEntry(current, nullptr, &window), 0);
    EXPECT_TRUE(window.Calls.empty()) << "nothing is scored for a missing record";
    EXPECT_EQ(ReadSlot(current.CallSign), "KEPT") << "CurrentData is left as it was";

    TShortStringSlot result;
    std::memset(result.Bytes, '#', sizeof result.Bytes);
    GrabNumberEntry(current, nullptr, &window, &result);
    EXPECT_EQ(result.Bytes[0], 0) << "a missing record finds no number";
    const TPluginData record = RecordWithCall("OK1AA");
    GrabNumberEntry(current, &record, &window, nullptr);  // no buffer: nothing written, no crash
    GetInfoEntry(nullptr);
}
