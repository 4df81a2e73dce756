// Loading a log file: which reader, and what an unreadable file says.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "logfiles/LogFile.h"
#include "tools/LogRowText.h"
#include "tools/TempLogFile.h"

TEST(LogFile, FormatByNameElseByContent)
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
    EXPECT_FALSE(LoadLogFile(named.Path()).Ok()) << "the name wins over the content: no CallSign column";
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
