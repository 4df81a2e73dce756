// Reading CSV and TSV logs whose header names the log columns.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "logfiles/DelimitedReader.h"
#include "tools/LogRowText.h"

namespace {

std::vector<std::string> Rows(const std::string& text)
{
    const TLogReadResult result = ReadDelimited(text);
    EXPECT_TRUE(result.Ok()) << "error: " << (result.Error ? result.Error->Message() : "") << "\nin: " << text;
    return RowTexts(result.Rows);
}

}  // namespace

// Column order in RowText: CallSign|DigiBand|QSOMode|QSOReportRecived|
// Continent|ITUZone|MainPrefix|DXCCPrefix.

TEST(DelimitedReader, HeaderNamesTheColumns)
{
    EXPECT_EQ(Rows("CallSign,DigiBand,QSOMode,QSOReportRecived,Continent,ITUZone,MainPrefix,DXCCPrefix\n"
                   "DL1ABC,20,CW,599 VC12,EU,28,DL1,230\n"),
              std::vector<std::string>{"DL1ABC|20|CW|599 VC12|EU|28|DL1|230"});
    EXPECT_EQ(Rows("qsomode, CALLSIGN ,Remark,digiband\nCW,K1ABC,hello,40\n"),
              std::vector<std::string>{"K1ABC|40|CW|~|~|~|~|~"})
        << "any order, any letter case, blanks around names; unknown columns ignored; unnamed ones NULL";
    EXPECT_EQ(Rows("CallSign,CallSign\nK1ABC,W1XYZ\n"), std::vector<std::string>{"K1ABC|~|~|~|~|~|~|~"})
        << "a repeated name serves from its first column";
    EXPECT_EQ(Rows("CallSign,QSOReportRecived,DigiBand\nK1ABC,,\n"), std::vector<std::string>{"K1ABC||~||~|~|~|~"})
        << "empty cells are empty texts";
    EXPECT_EQ(Rows("CallSign\n"), std::vector<std::string>{}) << "a header alone is an empty log";
}

TEST(DelimitedReader, DelimiterComesFromTheHeader)
{
    EXPECT_EQ(DetectDelimiter("CallSign\tDigiBand,x\nK1,20"), '\t');
    EXPECT_EQ(DetectDelimiter("CallSign,DigiBand;x\n"), ',');
    EXPECT_EQ(DetectDelimiter("CallSign;DigiBand\nK1\t20,x"), ';') << "only the header line counts";
    EXPECT_EQ(DetectDelimiter("CallSign\n"), ',');

    EXPECT_EQ(Rows("CallSign\tQSOReportRecived\nK1ABC\t599, VC12; x\n"),
              std::vector<std::string>{"K1ABC|~|~|599, VC12; x|~|~|~|~"})
        << "commas and semicolons are text in a TSV file";
    EXPECT_EQ(Rows("CallSign;DigiBand\nK1ABC;40\n"), std::vector<std::string>{"K1ABC|40|~|~|~|~|~|~"});
    EXPECT_EQ(Rows("CallSign\nK1ABC\nW1XYZ\n"), (std::vector<std::string>{"K1ABC|~|~|~|~|~|~|~", "W1XYZ|~|~|~|~|~|~|~"}));
}

TEST(DelimitedReader, Quoting)
{
    EXPECT_EQ(Rows("CallSign,QSOReportRecived,DigiBand\n\"K1ABC\",\"599, \"\"VC12\"\"\",\"\"\n"),
              std::vector<std::string>{"K1ABC||~|599, \"VC12\"|~|~|~|~"})
        << "delimiters and doubled quotes inside quotes; \"\" is an empty cell";
    EXPECT_EQ(Rows("CallSign,QSOReportRecived\r\nK1ABC,\"599\r\nVC12\"\r\nW1XYZ,5\"9\r\n"),
              (std::vector<std::string>{"K1ABC|~|~|599\r\nVC12|~|~|~|~", "W1XYZ|~|~|5\"9|~|~|~|~"}))
        << "a line break inside quotes is kept byte for byte; a quote inside an unquoted cell is text";
}

TEST(DelimitedReader, LineEnds)
{
    const std::vector<std::string> expected = {"K1ABC|40|~|~|~|~|~|~", "W1XYZ|20|~|~|~|~|~|~"};
    EXPECT_EQ(Rows("CallSign,DigiBand\r\nK1ABC,40\r\nW1XYZ,20\r\n"), expected) << "CR LF";
    EXPECT_EQ(Rows("CallSign,DigiBand\nK1ABC,40\nW1XYZ,20"), expected) << "LF, last line without a break";
    EXPECT_EQ(Rows("CallSign,DigiBand\r\n\r\nK1ABC,40\n\nW1XYZ,20\r\n\r\n"), expected) << "empty lines skipped";
    EXPECT_EQ(Rows("\xEF\xBB\xBF" "CallSign,DigiBand\nK1ABC,40\nW1XYZ,20\n"), expected) << "byte-order mark";
    EXPECT_EQ(Rows("CallSign,DigiBand\nK1ABC,40\r"), std::vector<std::string>{"K1ABC|40|~|~|~|~|~|~"})
        << "a CR at the very end is a line break";
}

TEST(DelimitedReader, MalformedInputIsRefusedWithItsPlace)
{
    struct TCase {
        std::string Text;
        std::string What;
        std::size_t Offset;
        std::size_t Line;
    };
    const TCase cases[] = {
        {"CallSign,DigiBand\nK1ABC,40\nW1XYZ\n", "row of 1 cells where the header has 2", 27, 3},
        {"CallSign,DigiBand\r\nK1ABC,\"4\r\n0\"\r\nW1XYZ,20,x\r\n", "row of 3 cells where the header has 2", 33, 4},
        {"CallSign,DigiBand\nK1ABC,40,\n", "row of 3 cells where the header has 2", 18, 2},
        {"CallSign,QSOReportRecived\nK1ABC,\"599 VC12\nW1XYZ,599\n", "quote opened here is never closed", 32, 2},
        {"CallSign,QSOReportRecived\nK1ABC,\"599\" VC12\n", "text after the closing quote of a cell", 37, 2},
        {"Station,Band\nK1ABC,40\n", "the header row names no CallSign column", 0, 1},
        {"\n\n", "no header row naming the log columns", 0, 1},
        {"", "no header row naming the log columns", 0, 1},
    };
    for (const TCase& each : cases) {
        const TLogReadResult result = ReadDelimited(each.Text);
        ASSERT_TRUE(result.Error.has_value()) << "no error for: " << each.Text;
        EXPECT_EQ(result.Error->What, each.What) << "in: " << each.Text;
        EXPECT_EQ(result.Error->ByteOffset, each.Offset) << "offset in: " << each.Text;
        EXPECT_EQ(result.Error->Line, each.Line) << "line in: " << each.Text;
        EXPECT_TRUE(result.Rows.empty()) << "rows before the fault are not handed out: " << each.Text;
    }
}
