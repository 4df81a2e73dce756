// What every reader says about a log it reads but cannot take as written:
// the same warning, with the same text and its line, whatever the format.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "logfiles/LogFile.h"
#include "tools/LogRowText.h"

namespace {

std::vector<std::string> Warnings(const TLogReadResult& log)
{
    EXPECT_TRUE(log.Ok()) << (log.Error ? log.Error->Message() : "");
    std::vector<std::string> texts;
    for (const TLogWarning& warning : log.Warnings)
        texts.push_back(warning.Message());
    return texts;
}

std::vector<std::string> Bands(const TLogReadResult& log)
{
    std::vector<std::string> bands;
    for (const TLogRow& row : log.Rows)
        bands.push_back(row[TLogColumn::DigiBand].value_or("NULL"));
    return bands;
}

}  // namespace

TEST(ReaderWarnings, ContactWithoutACallIsSkippedWithItsLine)
{
    const std::string expected = "line 2: warning: contact without a call, skipped";
    const TLogReadResult adif = ReadLogTextOfAnyFormat("<CALL:5>K1ABC<EOR>\n<BAND:3>20m<EOR>\n<CALL:4>W1AW<EOR>\n");
    EXPECT_EQ(Warnings(adif), (std::vector<std::string>{expected, "warning: no band and no frequency given: every "
                                                                  "contact is on one empty band"}));
    EXPECT_EQ(adif.Rows.size(), 2u);
    EXPECT_EQ(adif.Contacts.size(), 2u) << "contacts and rows stay one to one";

    const TLogReadResult adifEmptyCall = ReadLogTextOfAnyFormat("<CALL:5>K1ABC<BAND:2>20<EOR>\n<CALL:1> <EOR>\n");
    EXPECT_EQ(Warnings(adifEmptyCall), std::vector<std::string>{expected}) << "a blank CALL is no call";

    const TLogReadResult csv = ReadLogTextOfAnyFormat("CallSign,DigiBand\n\"\",20\nK1ABC,20\n");
    EXPECT_EQ(Warnings(csv), std::vector<std::string>{expected});
    EXPECT_EQ(RowTexts(csv.Rows), std::vector<std::string>{"K1ABC|20|~|~|~|~|~|~"});

    const TLogReadResult cabrillo = ReadLogTextOfAnyFormat("START-OF-LOG: 3.0\nQSO: 14025 CW 2026-03-01 1200 DL1ABC\n"
                                                           "QSO: 14025 CW 2026-03-01 1200 DL1ABC K1ABC\nEND-OF-LOG:\n");
    EXPECT_EQ(Warnings(cabrillo), std::vector<std::string>{expected});
    EXPECT_EQ(RowTexts(cabrillo.Rows), std::vector<std::string>{"K1ABC|20|CW||~|~|~|~"})
        << "a QSO line without exchange fields still has its call";
}

TEST(ReaderWarnings, ALogWithoutContacts)
{
    for (const char* text : {"header only <EOH>\n", "CallSign,DigiBand\n", "START-OF-LOG: 3.0\nEND-OF-LOG:\n"})
        EXPECT_EQ(Warnings(ReadLogTextOfAnyFormat(text)), std::vector<std::string>{"warning: no contacts in the log"})
            << text;
}

TEST(ReaderWarnings, NoBandAndNoFrequency)
{
    const TLogReadResult csv = ReadLogTextOfAnyFormat("callsign,mode,rcvd\nK1ABC,CW,599 VC12\n");
    EXPECT_EQ(Warnings(csv), std::vector<std::string>{"line 1: warning: no band and no frequency given: every contact "
                                                      "is on one empty band"});
    EXPECT_EQ(RowTexts(csv.Rows), std::vector<std::string>{"K1ABC|~|CW|599 VC12|~|~|~|~"})
        << "the aliases call, mode and rcvd name the log columns";
    EXPECT_TRUE(Warnings(ReadLogTextOfAnyFormat("call,freq\nK1ABC,14025\n")).empty()) << "a frequency column is enough";
}

TEST(ReaderWarnings, IgnoredColumnsAreNamed)
{
    const TLogReadResult csv =
        ReadLogTextOfAnyFormat("Call;Band;Name;exchange;CALL;Comment\nK1ABC;40m;Joe;599 VC1;X;hi\n");
    ASSERT_EQ(Warnings(csv).size(), 1u);
    EXPECT_EQ(Warnings(csv)[0].rfind("line 1: warning: columns ignored, not log columns: 'Name', 'CALL' (repeated), "
                                     "'Comment' (the log columns: ",
                                     0),
              0u)
        << Warnings(csv)[0];
    EXPECT_EQ(RowTexts(csv.Rows), std::vector<std::string>{"K1ABC|40|~|599 VC1|~|~|~|~"});
}

TEST(ReaderWarnings, BandFieldAndFrequencyDisagree)
{
    const std::string adif = "<CALL:5>K1ABC<BAND:3>40m<FREQ:6>14.025<EOR>\n<CALL:4>W1AW<BAND:3>20m<FREQ:6>14.025<EOR>\n";
    const TLogReadResult fromAdif = ReadLogTextOfAnyFormat(adif);
    EXPECT_EQ(Bands(fromAdif), (std::vector<std::string>{"40", "20"})) << "the band field wins";
    EXPECT_EQ(Warnings(fromAdif), std::vector<std::string>{"line 1: warning: band '40m' and frequency '14.025' (the 20 "
                                                            "band) disagree: the band field is used"});

    const TLogReadResult csv = ReadLogTextOfAnyFormat("call,band,freq\nK1ABC,,7025\nW1AW,20,7.025\nK2X,,1296\n");
    EXPECT_EQ(Bands(csv), (std::vector<std::string>{"40", "20", "23cm"}))
        << "kHz as a whole number of four digits or more, MHz with a point; 1296 kHz is no band, 1296 MHz is";
    EXPECT_EQ(Warnings(csv), std::vector<std::string>{"line 3: warning: band '20' and frequency '7.025' (the 40 band) "
                                                      "disagree: the band field is used"});
}

TEST(ReaderWarnings, BandTextsThatNameNoBandAreKeptAndListed)
{
    const TLogReadResult csv = ReadLogTextOfAnyFormat("call,band\nK1ABC,20 M\nW1AW,21m\nK2X,21m\nK3Y,GHz\n");
    EXPECT_EQ(Bands(csv), (std::vector<std::string>{"20", "21m", "21m", "GHz"}));
    EXPECT_EQ(Warnings(csv),
              (std::vector<std::string>{
                  "line 3: warning: band '21m' names no amateur band: kept as written (2 contacts, the first on this "
                  "line)",
                  "line 5: warning: band 'GHz' names no amateur band: kept as written (1 contact, the first on this "
                  "line)"}));

    const TLogReadResult adif = ReadLogTextOfAnyFormat("<CALL:5>K1ABC<FREQ:4>13.9<EOR>\n<CALL:4>W1AW<FREQ:3>20m<EOR>\n");
    EXPECT_EQ(Bands(adif), (std::vector<std::string>{"13.9", "20"})) << "a band name in FREQ is taken as the band";
    EXPECT_EQ(Warnings(adif), std::vector<std::string>{"line 1: warning: frequency '13.9' names no amateur band: kept "
                                                       "as written (1 contact, the first on this line)"});
}
