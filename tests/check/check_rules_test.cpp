// The pure rules the check stands on: slips of copying, kinds of mode,
// exchanges without the report, contest times, and the safety of text that
// goes into CSV, HTML and file names.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "members/MemberList.h"
#include "velmora-check/DecideStage.h"
#include "velmora-check/MatchStage.h"
#include "velmora-check/Normalise.h"
#include "velmora-check/ReportText.h"

namespace {

TEST(SlipsOfCopying, OneCharacterChangedDroppedAddedOrTwoSwapped)
{
    EXPECT_TRUE(IsOneSlipApart("DL1ABC", "DL1ABD"));  // changed
    EXPECT_TRUE(IsOneSlipApart("DL1ABC", "DL1AB"));   // dropped
    EXPECT_TRUE(IsOneSlipApart("DL1ABC", "DL1ABCD"));  // added at the end
    EXPECT_TRUE(IsOneSlipApart("DL1ABC", "XDL1ABC"));  // added at the start
    EXPECT_TRUE(IsOneSlipApart("DL1ABC", "DL1BAC"));  // swapped neighbours
    EXPECT_TRUE(IsOneSlipApart("K3XY/P", "K3XYP"));
}

TEST(SlipsOfCopying, TheSameCallOrTwoSlipsAreNot)
{
    EXPECT_FALSE(IsOneSlipApart("DL1ABC", "DL1ABC"));
    EXPECT_FALSE(IsOneSlipApart("DL1ABC", "DL1XYC"));
    EXPECT_FALSE(IsOneSlipApart("DL1ABC", "DL1CBA"));  // swapped, not neighbours
    EXPECT_FALSE(IsOneSlipApart("DL1ABC", "DL1A"));
    EXPECT_FALSE(IsOneSlipApart("", ""));
    EXPECT_TRUE(IsOneSlipApart("", "A"));
}

TEST(KindsOfMode, PhoneAndDigitalModesFormOneKindEach)
{
    for (const char* phone : {"SSB", "usb", "LSB", "PH", "FM", "AM"})
        EXPECT_EQ(ModeKindOf(phone), "PH") << phone;
    for (const char* digital : {"RTTY", "RY", "FT8", "ft4", "PSK", "DG", "DATA"})
        EXPECT_EQ(ModeKindOf(digital), "DG") << digital;
    EXPECT_EQ(ModeKindOf(" cw "), "CW");
    EXPECT_EQ(ModeKindOf("sstv"), "SSTV");
}

TEST(Exchanges, TheReportIsLeftOutAndSerialsCompareAsNumbers)
{
    EXPECT_EQ(ExchangeKey("599 VC12"), "VC12");
    EXPECT_EQ(ExchangeKey("59  vc12"), "VC12");
    EXPECT_EQ(ExchangeKey("599 007"), "7");
    EXPECT_EQ(ExchangeKey("VC12"), "VC12");
    EXPECT_EQ(ExchangeKey("599"), "599");  // nothing but a number: kept
    EXPECT_EQ(ExchangeKey("699 12"), "699 12");  // no report starts with 6
    EXPECT_EQ(ExchangeKey(""), "");
    EXPECT_NE(ExchangeKey("599 VC12"), ExchangeKey("599 VC13"));
}

TEST(ContestTimes, ParsedAndWrittenInTheOneForm)
{
    const auto minute = ParseContestTime("2026-03-01T12:00Z");
    ASSERT_TRUE(minute);
    EXPECT_EQ(FormatMinute(*minute), "2026-03-01T12:00Z");
    EXPECT_EQ(MinuteOf("2026-03-01", "1200"), minute);
    EXPECT_EQ(MinuteOf("2026-03-01", "12:01"), *minute + 1);
    EXPECT_EQ(*MinuteOf("2026-03-02", "0000") - *MinuteOf("2026-03-01", "2359"), 1);
    EXPECT_EQ(FormatMinute(*MinuteOf("2024-02-29", "2359")), "2024-02-29T23:59Z");
    for (const char* wrong : {"2026-02-29T12:00Z", "2026-03-01 12:00", "2026-03-01T24:00Z", "yesterday"})
        EXPECT_FALSE(ParseContestTime(wrong)) << wrong;
    EXPECT_FALSE(MinuteOf("2026-03-01", "1260"));
    EXPECT_FALSE(MinuteOf("", "1200"));
}

TEST(SafeText, CsvFieldsNeverStartAFormula)
{
    EXPECT_EQ(CsvField("DL1ABC"), "DL1ABC");
    EXPECT_EQ(CsvField("=1+2"), "'=1+2");
    EXPECT_EQ(CsvField("@SUM(A1)"), "'@SUM(A1)");
    EXPECT_EQ(CsvField("+1"), "'+1");
    EXPECT_EQ(CsvField("-1"), "'-1");
    EXPECT_EQ(CsvField("a,b"), "\"a,b\"");
    EXPECT_EQ(CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(CsvField("=a,b"), "\"'=a,b\"");
}

TEST(SafeText, HtmlShowsMarkupAsText)
{
    EXPECT_EQ(HtmlText("<script>&'\""), "&lt;script&gt;&amp;&#39;&quot;");
    EXPECT_EQ(HtmlText("K\xD6LN"), "K\xC3\x96LN");  // Windows-1252 becomes UTF-8
}

TEST(SafeText, FileNamesOfCallsStayInTheFolder)
{
    EXPECT_EQ(FileStemOfCall("K3XY/P"), "K3XY-P");
    EXPECT_EQ(FileStemOfCall("../x"), "---X");
    EXPECT_EQ(FileStemOfCall("dl1abc"), "DL1ABC");
    EXPECT_EQ(FileStemOfCall(""), "LOG");
    EXPECT_EQ(FileStemOfCall(std::string(300, 'A')).size(), 64u);
}

}  // namespace

// The checker reads the member file once into an index; for every call it
// must give what the plug-in's own look-up gives, whatever the lines hold.
TEST(MemberIndex, GivesThePluginsNumberForEveryCall)
{
    const std::vector<std::string> calls = {"DL1ABC", "DL1AB", "dl1abc", "W1AW", "G4XYZ", "VERYLONGCALL1"};
    const std::vector<std::string> shapes = {"{}={}", " {}={} ", "\t{}={}\r", "{}=", "x{}={}", "{}={}={}",
                                             "={}", "{} = {}", "{}"};
    const std::vector<std::string> numbers = {"VC12", "VC007", "", "123456789", "VC1"};
    for (unsigned round = 1; round <= 200; ++round) {
        std::mt19937 random(round);
        TMemberList members;
        for (std::size_t n = random() % 12; n > 0; --n) {
            // The first blank takes a call, any other a number.
            std::string line = shapes[random() % shapes.size()];
            bool callPlaced = false;
            for (std::size_t at = line.find("{}"); at != std::string::npos; at = line.find("{}")) {
                line.replace(at, 2, callPlaced ? numbers[random() % numbers.size()] : calls[random() % calls.size()]);
                callPlaced = true;
            }
            members.push_back(line);
        }
        const TMemberIndex index(members);
        for (const std::string& call : calls)
            ASSERT_EQ(index.NumberOf(call), FindMemberNumber(members, call)) << "round " << round << ", " << call;
        ASSERT_EQ(index.NumberOf(""), FindMemberNumber(members, ""));
    }
}
