// Reading Cabrillo logs: the QSO line's fields, the header, X-QSO lines and
// the end of the log.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "logfiles/CabrilloReader.h"
#include "tools/LogRowText.h"

namespace {

std::vector<std::string> WarningTexts(const TLogReadResult& result)
{
    std::vector<std::string> texts;
    for (const TLogWarning& warning : result.Warnings)
        texts.push_back(warning.Message());
    return texts;
}

}  // namespace

// Column order in RowText: CallSign|DigiBand|QSOMode|QSOReportRecived|
// Continent|ITUZone|MainPrefix|DXCCPrefix.

TEST(CabrilloReader, QSOLinesBecomeRowsAndContacts)
{
    const TLogReadResult log = ReadCabrillo(
        "START-OF-LOG: 3.0\n"
        "QSO:   14043 CW 2025-08-02 1800 K3AJ            TOM        MD  AC0E            JIM        KS  1\n"
        "QSO:    7257 PH 2025-06-28 2212 W1OP          4A     GA  K1GDI         1D   ME      \n"
        "QSO:      50 DI 2025-06-28 2238 W1OP          4A     GA  KA1GG         4F   MA\n"
        "QSO: 14025 CW 2026-03-01 1200 DL1ABC 599 VC12 OK1XYZ 599 VC5\n"
        "END-OF-LOG:\n");
    ASSERT_TRUE(log.Ok()) << log.Error->Message();
    EXPECT_EQ(log.Format, TLogFormat::Cabrillo);
    EXPECT_EQ(RowTexts(log.Rows), (std::vector<std::string>{"AC0E|20|CW|JIM KS|~|~|~|~", "K1GDI|40|PH|1D ME|~|~|~|~",
                                                             "KA1GG|6|DI|4F MA|~|~|~|~",
                                                             "OK1XYZ|20|CW|599 VC5|~|~|~|~"}))
        << "the transmitter id is no part of the exchange; the designator 50 is the 6 m band";
    ASSERT_EQ(log.Contacts.size(), 4u);
    const TLogContact& first = log.Contacts[0];
    EXPECT_EQ(std::tie(first.Line, first.Frequency, first.Mode, first.Date, first.Time, first.MyCall),
              std::make_tuple(std::size_t{2}, std::string("14043"), std::string("CW"), std::string("2025-08-02"),
                              std::string("1800"), std::string("K3AJ")));
    EXPECT_EQ(first.SentExchange, (std::vector<std::string>{"TOM", "MD"}));
    EXPECT_EQ(first.ReceivedExchange, (std::vector<std::string>{"JIM", "KS"}));
    EXPECT_EQ(first.TransmitterId, "1");
    EXPECT_EQ(log.Contacts[3].TransmitterId, "") << "an odd number of fields after mycall has no transmitter id";
    EXPECT_EQ(log.Contacts[3].SentExchange, (std::vector<std::string>{"599", "VC12"}));
    EXPECT_TRUE(log.Warnings.empty()) << WarningTexts(log).front();
}

TEST(CabrilloReader, HeaderTagsAreKept)
{
    const TLogReadResult log = ReadCabrillo("START-OF-LOG: 2.0\r\n"
                                            "callsign: DL1ABC\r\n"
                                            "CONTEST: VELMORA-CUP\r\n"
                                            "CATEGORY-OPERATOR: SINGLE-OP\r\n"
                                            "CLAIMED-SCORE: 12345\r\n"
                                            "SOAPBOX: first line\r\n"
                                            "SOAPBOX: second line\r\n"
                                            "X-CLUB: Velmora\r\n"
                                            "QSO: 3525 CW 2026-03-01 1200 DL1ABC 599 VC12 OK1XYZ 599 VC5\r\n"
                                            "END-OF-LOG:\r\n");
    const TLogHeader& header = log.Header;
    EXPECT_EQ(header.CabrilloVersion, "2.0");
    EXPECT_EQ(header.StationCall, "DL1ABC") << "tag names ignore letter case";
    EXPECT_EQ(header.Contest, "VELMORA-CUP");
    EXPECT_EQ(header.ClaimedScore, 12345);
    EXPECT_EQ(header.Tag("x-club"), "Velmora");
    EXPECT_EQ(header.Tags.size(), 8u) << "repeated tags are kept each";
    EXPECT_EQ(header.Tags[5], std::make_pair(std::string("SOAPBOX"), std::string("first line")));
    EXPECT_EQ(RowTexts(log.Rows), std::vector<std::string>{"OK1XYZ|80|CW|599 VC5|~|~|~|~"}) << "CR LF line ends";
}

TEST(CabrilloReader, XQsoLinesAreReportedNotScored)
{
    const TLogReadResult log = ReadCabrillo("START-OF-LOG: 3.0\n"
                                            "QSO: 14025 CW 2026-03-01 1200 DL1ABC 599 VC12 OK1XYZ 599 VC5\n"
                                            "X-QSO: 14026 CW 2026-03-01 1201 DL1ABC 599 VC12 W1AW 599 VC7\n"
                                            "QSO: 7025 CW 2026-03-01 1202 DL1ABC 599 VC12 OK1XYZ 599 VC5\n"
                                            "END-OF-LOG:\n");
    EXPECT_EQ(RowTexts(log.Rows),
              (std::vector<std::string>{"OK1XYZ|20|CW|599 VC5|~|~|~|~", "OK1XYZ|40|CW|599 VC5|~|~|~|~"}));
    ASSERT_EQ(log.Contacts.size(), 3u);
    EXPECT_TRUE(log.Contacts[1].IsXQso);
    EXPECT_EQ(log.Contacts[1].Call, "W1AW");
    EXPECT_EQ(WarningTexts(log), std::vector<std::string>{"warning: 1 X-QSO line read and not scored"});
}

TEST(CabrilloReader, OddLinesAreWarnedAboutNotFatal)
{
    const TLogReadResult log = ReadCabrillo("START-OF-LOG: 3.0\n"
                                            "CLAIMED-SCORE: about 9000\n"
                                            "this is no tag line\n"
                                            "QSO: 14025 CW 2026-03-01 1200 DL1ABC\n"
                                            "QSO: 99999 CW 2026-03-01 1200 DL1ABC 599 1 K1ABC 599 2\n"
                                            "QSO: 99999 CW 2026-03-01 1201 DL1ABC 599 2 W1AW 599 3\n");
    ASSERT_TRUE(log.Ok());
    EXPECT_EQ(log.Header.ClaimedScore, std::nullopt);
    EXPECT_EQ(RowTexts(log.Rows), (std::vector<std::string>{"K1ABC|99999|CW|599 2|~|~|~|~",
                                                             "W1AW|99999|CW|599 3|~|~|~|~"}))
        << "a frequency in no band is kept as the band";
    const std::string unnamedFrequency =
        "line 5: warning: frequency '99999' names no amateur band: kept as written (2 contacts, the first on this line)";
    EXPECT_EQ(WarningTexts(log), (std::vector<std::string>{
                                     "line 2: warning: CLAIMED-SCORE 'about 9000' is not a whole number: ignored",
                                     "line 3: warning: not a Cabrillo line (no TAG: at its start), ignored",
                                     "line 4: warning: contact without a call, skipped",
                                     "warning: no END-OF-LOG: line: the log may be cut short",
                                     unnamedFrequency,
                                 }));

    const TLogReadResult trailing = ReadCabrillo("START-OF-LOG: 3.0\nEND-OF-LOG:\nQSO: 14025 CW x y A B C\n\n");
    EXPECT_TRUE(trailing.Rows.empty()) << "nothing after END-OF-LOG is read";
    EXPECT_EQ(WarningTexts(trailing), (std::vector<std::string>{"line 3: warning: 1 line after END-OF-LOG: ignored",
                                                                "warning: no contacts in the log"}));
}

TEST(CabrilloReader, ManyFaultsOfOneKindAreCountedNotListed)
{
    std::string text = "START-OF-LOG: 3.0\n";
    for (int line = 0; line < 1000; ++line)
        text += "QSO: 14025 CW\n";
    text += "END-OF-LOG:\n";
    const TLogReadResult log = ReadCabrillo(text);
    ASSERT_EQ(log.Warnings.size(), 22u) << "20 listed, the count of the rest, and no contacts";
    EXPECT_EQ(log.Warnings[19].Line, 21u);
    EXPECT_EQ(log.Warnings.back().What, "980 more like 'contact without a call, skipped' not listed");
}
