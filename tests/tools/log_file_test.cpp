// Loading a log file: which reader, and what an unreadable file says.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "logfiles/LogFile.h"
#include "tools/LogRowText.h"
#include "tools/TempLogFile.h"

TEST(LogFile, FormatByContentWithTheNameAsHint)
{
    EXPECT_EQ(FormatOfFileName("log.adi"), TLogFormat::Adif);
    EXPECT_EQ(FormatOfFileName("C:\\logs\\LOG.ADIF"), TLogFormat::Adif);
    EXPECT_EQ(FormatOfFileName("/logs/log.Csv"), TLogFormat::Delimited);
    EXPECT_EQ(FormatOfFileName("log.tsv"), TLogFormat::Delimited);
    EXPECT_EQ(FormatOfFileName("log.txt"), TLogFormat::Delimited);
    EXPECT_EQ(FormatOfFileName("log.log"), std::nullopt);
    EXPECT_EQ(FormatOfFileName("adi"), std::nullopt);

    EXPECT_EQ(SniffLogFormat("header\n<eoh>\n"), TLogFormat::Adif);
    EXPECT_EQ(SniffLogFormat("<CALL:5>K1ABC<Eor>"), TLogFormat::Adif);
    EXPECT_EQ(SniffLogFormat("CallSign,QSOReportRecived\nK1ABC,<5W>\n"), TLogFormat::Delimited);

    const TTempLogFile adif("sniffed.log", "<CALL:5>K1ABC<EOR>");
    const TTempLogFile csv("sniffed.dat", "CallSign;DigiBand\nK1ABC;40\n");
    EXPECT_EQ(RowTexts(LoadLogFile(adif.Path()).Rows), std::vector<std::string>{"K1ABC|~|~|~|~|~|~|~"});
    EXPECT_EQ(RowTexts(LoadLogFile(csv.Path()).Rows), std::vector<std::string>{"K1ABC|40|~|~|~|~|~|~"});
    const TTempLogFile named("named.csv", "<CALL:5>K1ABC<EOR>");
    EXPECT_EQ(RowTexts(LoadLogFile(named.Path()).Rows), std::vector<std::string>{"K1ABC|~|~|~|~|~|~|~"})
        << "the content wins over the name";
}

TEST(LogFile, ErrorsNameTheFile)
{
    const std::string missing = (std::filesystem::temp_directory_path() / "velmora-tools-test-missing.adi").string();
    const TLogReadResult none = LoadLogFile(missing);
    ASSERT_FALSE(none.Ok());
    EXPECT_EQ(none.Error->Message(), missing + ": no such file");

    const std::string folder = std::filesystem::temp_directory_path().string();
    ASSERT_FALSE(LoadLogFile(folder).Ok());
    EXPECT_EQ(LoadLogFile(folder).Error->Message(), folder + ": is a folder, not a log file");

    // CR LF stays as it is: the reader, not the stream, sees the line ends.
    const TTempLogFile broken("broken.adi", "<CALL:5>K1ABC<EOR>\r\n<CALL:11>W1XYZ<EOR>");
    const TLogReadResult bad = LoadLogFile(broken.Path());
    ASSERT_FALSE(bad.Ok());
    EXPECT_EQ(bad.Error->Message(),
              broken.Path() + ": line 2 (byte offset 20): field CALL of length 11 runs past the end of the file");
    EXPECT_TRUE(bad.Rows.empty());
}

TEST(LogFile, ContentDecidesTheFormat)
{
    EXPECT_EQ(DetectLogFormat("\n  START-OF-LOG: 3.0\nQSO: 14025 CW 2026-03-01 1200 A 1 B 2\n"), TLogFormat::Cabrillo);
    EXPECT_EQ(DetectLogFormat("CALLSIGN: DL1ABC\nqso: 14025 CW 2026-03-01 1200 A 1 B 2\n"), TLogFormat::Cabrillo)
        << "QSO lines without START-OF-LOG";
    EXPECT_EQ(DetectLogFormat("exported by a logger\n<EOH>\n"), TLogFormat::Adif);
    EXPECT_EQ(DetectLogFormat("call\tband\nK1ABC\t20\n"), TLogFormat::Delimited);
    EXPECT_EQ(DetectLogFormat("CallSign\nK1ABC\n"), TLogFormat::Delimited) << "one column that names a log column";
    EXPECT_EQ(DetectLogFormat("<CALL:5>K1ABC", TLogFormat::Adif), TLogFormat::Adif)
        << "the name settles an ADIF field without <EOR>, so the ADIF reader names the fault";
    EXPECT_EQ(DetectLogFormat("Dear contest manager\n"), std::nullopt);

    const TTempLogFile cabrillo("cabrillo.txt", "START-OF-LOG: 3.0\nQSO: 7025 CW 2026-03-01 1200 A 1 B 2\nEND-OF-LOG:\n");
    EXPECT_EQ(RowTexts(LoadLogFile(cabrillo.Path()).Rows), std::vector<std::string>{"B|40|CW|2|~|~|~|~"})
        << "a .txt that is Cabrillo";
}

TEST(LogFile, TextsThatAreNoLogAreErrors)
{
    const TTempLogFile emptyAdif("empty.adi", "");
    EXPECT_EQ(LoadLogFile(emptyAdif.Path()).Error->Message(), emptyAdif.Path() + ": the file is empty: no log in it");
    const TTempLogFile blank("blank.log", "\xEF\xBB\xBF\r\n  \n");
    EXPECT_EQ(LoadLogFile(blank.Path()).Error->What, "the file is empty: no log in it");

    const TTempLogFile prose("prose.adi", "Dear contest manager,\nhere is my log.\n");
    EXPECT_EQ(LoadLogFile(prose.Path()).Error->Message(),
              prose.Path() + ": no ADIF tag in the file, which its name gives as ADIF");

    const TTempLogFile letter("letter.log", "Dear contest manager\n");
    EXPECT_EQ(LoadLogFile(letter.Path()).Error->Message(),
              letter.Path() + ": not a log in any format read here: tried ADIF (no <EOR> or <EOH> tag), Cabrillo "
                              "(no START-OF-LOG: or QSO: line) and CSV/TSV (no header row of column names)");
}

TEST(LogFile, DashReadsStandardInput)
{
    std::istringstream input("CallSign,DigiBand\nK1ABC,20m\n,40\n");
    std::streambuf* const saved = std::cin.rdbuf(input.rdbuf());
    const TLogReadResult log = LoadLogFile("-");
    std::cin.rdbuf(saved);
    ASSERT_TRUE(log.Ok()) << log.Error->Message();
    EXPECT_EQ(RowTexts(log.Rows), std::vector<std::string>{"K1ABC|20|~|~|~|~|~|~"});
    ASSERT_EQ(log.Warnings.size(), 1u);
    EXPECT_EQ(log.Warnings[0].Message(), "standard input: line 3: warning: contact without a call, skipped");
}

TEST(LogFile, ARowOfWordsIsNoHeader)
{
    const TTempLogFile prose("prose.dat", "Dear contest manager, here is my log; 73\n");
    EXPECT_EQ(LoadLogFile(prose.Path()).Error->What.substr(0, 36), "not a log in any format read here: t");
    const TTempLogFile named("named-columns.csv", "Station,Frequency\nK1ABC,14025\n");
    EXPECT_EQ(LoadLogFile(named.Path()).Error->What, "the header row names no CallSign column")
        << "a .csv is read as one, to say what it lacks";
}
