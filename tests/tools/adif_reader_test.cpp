// Reading ADIF logs into log rows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "logfiles/AdifReader.h"
#include "tools/LogRowText.h"

namespace {

// Rows of a text that must read without error.
std::vector<std::string> Rows(const std::string& adif)
{
    const TLogReadResult result = ReadAdif(adif);
    EXPECT_TRUE(result.Ok()) << "error: " << (result.Error ? result.Error->Message() : "") << "\nin: " << adif;
    return RowTexts(result.Rows);
}

}  // namespace

// Column order in RowText: CallSign|DigiBand|QSOMode|QSOReportRecived|
// Continent|ITUZone|MainPrefix|DXCCPrefix.

TEST(AdifReader, FieldsBecomeLogColumns)
{
    EXPECT_EQ(Rows("<CALL:6>DL1ABC<BAND:3>20m<MODE:2>CW<SRX_STRING:8>599 VC12<CONT:2>EU<ITUZ:2>28<PFX:3>DL1"
                   "<DXCC:3>230<EOR>"),
              std::vector<std::string>{"DL1ABC|20|CW|599 VC12|EU|28|DL1|230"});
    EXPECT_EQ(Rows("<CALL:5>K1ABC<EOR>"), std::vector<std::string>{"K1ABC|~|~|~|~|~|~|~"})
        << "absent fields are NULL";
    EXPECT_EQ(Rows("<CALL:5>K1ABC<SRX:3>014<PFX:2>K1<EOR>"), std::vector<std::string>{"K1ABC|~|~|014|~|~|K1|K1"})
        << "SRX stands in for SRX_STRING, PFX for DXCC";
    EXPECT_EQ(Rows("<CALL:5>K1ABC<SRX_STRING:0><SRX:3>014<DXCC:0><PFX:2>K1<EOR>"),
              std::vector<std::string>{"K1ABC|~|~|014|~|~|K1|K1"})
        << "an empty SRX_STRING or DXCC gives way to SRX or PFX";
    EXPECT_EQ(Rows("<CALL:5>K1ABC<SRX_STRING:0><EOR>"), std::vector<std::string>{"K1ABC|~|~||~|~|~|~"})
        << "an empty exchange is the empty text, not NULL";
    EXPECT_EQ(Rows("<CALL:5>K1ABC<APP_X_Y:3>abc<QSO_DATE:8:D>20240608<EOR>"),
              std::vector<std::string>{"K1ABC|~|~|~|~|~|~|~"})
        << "unknown fields and type indicators are skipped";
    EXPECT_EQ(Rows("<CALL:5>K1ABC<FREQ:6>14.025<EOR>"), std::vector<std::string>{"K1ABC|20|~|~|~|~|~|~"})
        << "without BAND the band is FREQ's";
    EXPECT_EQ(Rows("<CALL:5>K1ABC<CALL:5>W1XYZ<EOR>"), std::vector<std::string>{"K1ABC|~|~|~|~|~|~|~"})
        << "a repeated field keeps its first value";
    EXPECT_EQ(Rows("<FREQ:6>14.025<EOR><CALL:5>K1ABC<EOR>"), std::vector<std::string>{"K1ABC|~|~|~|~|~|~|~"})
        << "a record without a call is no contact";
}

TEST(AdifReader, LengthsCountBytes)
{
    EXPECT_EQ(Rows("<COMMENT:11>a <EOR> <b><CALL:5>K1ABC<EOR>"), std::vector<std::string>{"K1ABC|~|~|~|~|~|~|~"})
        << "a value holding '<' and a whole <EOR> tag is only data";
    EXPECT_EQ(Rows("<SRX_STRING:12>599 VC12 <x><CALL:5>K1ABC<EOR>"),
              std::vector<std::string>{"K1ABC|~|~|599 VC12 <x>|~|~|~|~"})
        << "a length of two digits";
    EXPECT_EQ(Rows("<NAME:7>J\xC3\xBCrgen<CALL:5>K1ABC<EOR>"), std::vector<std::string>{"K1ABC|~|~|~|~|~|~|~"})
        << "a two-byte character counts two";
    EXPECT_EQ(Rows("<CALL:3>DL1ABC<EOR>"), std::vector<std::string>{"DL1|~|~|~|~|~|~|~"})
        << "bytes past the length are text between fields";
}

TEST(AdifReader, HeaderAndRecordBoundaries)
{
    EXPECT_EQ(Rows("<call:5>K1ABC<Band:3>40M<mode:3>SSB<eor><Call:5>W1XYZ<EoR>"),
              (std::vector<std::string>{"K1ABC|40|SSB|~|~|~|~|~", "W1XYZ|~|~|~|~|~|~|~"}))
        << "names and markers in any letter case; no header";
    EXPECT_EQ(Rows("Exported log\n<ADIF_VER:5>3.1.4 <PROGRAMID:4>test\n<EOH>\n<CALL:5>K1ABC <EOR>\n"),
              std::vector<std::string>{"K1ABC|~|~|~|~|~|~|~"})
        << "header text and header fields make no row";
    EXPECT_EQ(Rows("<ADIF_VER:5>3.1.4<CALL:5>W1AAA<eoh><CALL:5>K1ABC<EOR>"),
              std::vector<std::string>{"K1ABC|~|~|~|~|~|~|~"})
        << "a header without text before it";
    EXPECT_EQ(Rows("just words\n<CALL:5>K1ABC<EOR>"), std::vector<std::string>{"K1ABC|~|~|~|~|~|~|~"})
        << "text before the first tag without <EOH> is ignored";
    EXPECT_EQ(Rows("<EOR><CALL:5>K1ABC<EOR><EOR>"), std::vector<std::string>{"K1ABC|~|~|~|~|~|~|~"})
        << "<EOR> without fields adds no row";
    EXPECT_EQ(Rows(""), std::vector<std::string>{}) << "an empty file is an empty log";
    EXPECT_EQ(Rows("header only\n<EOH>\n"), std::vector<std::string>{}) << "a header without records";
}

TEST(AdifReader, MalformedInputIsRefusedWithItsPlace)
{
    struct TCase {
        std::string Adif;
        std::string What;
        std::size_t Offset;
        std::size_t Line;
    };
    const TCase cases[] = {
        {"<CALL:5>K1ABC<EOR>\n<CALL:20>W1XYZ<EOR>", "field CALL of length 20 runs past the end of the file", 19, 2},
        {"<CALL:5>K1ABC<EOR>\n<CALL:99999999999999999999999>x", "field CALL of length 99999999999999999999999 runs "
                                                                 "past the end of the file",
         19, 2},
        {"<CALL:5>K1ABC<EOR>\n\n<BAND:x3>20m<EOR>", "length 'x3' of field BAND is not a number", 20, 3},
        {"<CALL:>K1ABC<EOR>", "length '' of field CALL is not a number", 0, 1},
        {"<CALL:5>K1ABC<EOR>\n<MODE:2>CW<EOR\n", "tag without its closing '>'", 29, 2},
        {"<CALL:5>K1ABC<BAND:3 20m<MODE:2>CW<EOR>", "tag without its closing '>'", 13, 1},
        {"<CALL:5>K1ABC<:3>20m<EOR>", "tag without a name", 13, 1},
        {"<CALL:5>K1ABC<BAND>20m<EOR>", "field BAND has no length", 13, 1},
        {"<CALL:5>K1ABC<EOR>\n<CALL:5>W1XYZ <MODE:2>CW\n", "record without <EOR> at the end of the file", 19, 2},
    };
    for (const TCase& each : cases) {
        const TLogReadResult result = ReadAdif(each.Adif);
        ASSERT_TRUE(result.Error.has_value()) << "no error for: " << each.Adif;
        EXPECT_EQ(result.Error->What, each.What) << "in: " << each.Adif;
        EXPECT_EQ(result.Error->ByteOffset, each.Offset) << "offset in: " << each.Adif;
        EXPECT_EQ(result.Error->Line, each.Line) << "line in: " << each.Adif;
        EXPECT_TRUE(result.Rows.empty()) << "rows before the fault are not handed out: " << each.Adif;
    }
    EXPECT_EQ(ReadAdif("<CALL:5>K1ABC<EOR>\n<CALL:20>W1XYZ<EOR>").Error->Message(),
              "line 2 (byte offset 19): field CALL of length 20 runs past the end of the file");
}

TEST(AdifBand, MetreUnitIsDroppedAfterANumber)
{
    const std::pair<const char*, const char*> cases[] = {
        {"20m", "20"},   {"160M", "160"},   {"2m", "2"},         {"1.25m", "1.25"}, {"70cm", "70cm"},
        {"23CM", "23CM"}, {"submm", "submm"}, {"m", "m"},         {"20", "20"},      {"", ""},
        {"1.2.3m", "1.2.3m"}, {"20 m", "20 m"}, {".m", ".m"},
    };
    for (const auto& [adif, expected] : cases)
        EXPECT_EQ(DigiBandOfAdifBand(adif), expected) << "band '" << adif << "'";
}
