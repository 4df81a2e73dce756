// velmora-score as a command: its JSON, its escapes and its exit status.
// (The text output is pinned byte for byte by the CTest run of the program
// on the CSV sample.)
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/TempLogFile.h"
#include "velmora-score/ScoreCommand.h"
#include "velmora-score/ScoreOutput.h"

namespace {

struct TRun {
    int Status = -1;
    std::string Out;
    std::string Err;
};

TRun RunCommand(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    TRun run;
    run.Status = RunScore(args, out, err);
    run.Out = out.str();
    run.Err = err.str();
    return run;
}

}  // namespace

TEST(ScoreCommand, JsonShape)
{
    const TTempLogFile log("small.adi",
                           "<CALL:4>K1\xC9Z<BAND:3>20m<MODE:2>CW<SRX_STRING:10>599 \"VC12\"<EOR>\n"
                           "<CALL:4>K1\xC9Z<BAND:3>20M<MODE:2>CW<EOR>\n");
    const TRun run = RunCommand({"--json", log.Path()});
    EXPECT_EQ(run.Status, kExitScored);
    EXPECT_EQ(run.Out,
              "{\n"
              "  \"report\": \"Band\\t  QSOs\\tPoints\\tVClist\\t\\r\\n  20\\t     1\\t     3\\t     1\\t\\r\\n"
              "Total\\t     1\\t     3\\t     1\\t\\r\\n Score: 3*1=3\",\n"
              "  \"bands\": [\n"
              "    {\"band\": \"20\", \"qsos\": 1, \"points\": 3, \"members\": 1}\n"
              "  ],\n"
              "  \"totals\": {\"qsos\": 1, \"points\": 3, \"members\": 1},\n"
              "  \"score\": 3,\n"
              "  \"warnings\": 0,\n"
              "  \"contacts\": [\n"
              "    {\"row\": 1, \"call\": \"K1\xC3\x89Z\", \"band\": \"20\", \"mode\": \"CW\", "
              "\"exchange\": \"599 \\\"VC12\\\"\", \"duplicate\": false, \"points\": 3, \"member\": \"VC12\"},\n"
              "    {\"row\": 2, \"call\": \"K1\xC3\x89Z\", \"band\": \"20\", \"mode\": \"CW\", "
              "\"exchange\": null, \"duplicate\": true, \"points\": 0, \"member\": null}\n"
              "  ]\n"
              "}\n");

    const TTempLogFile empty("empty.csv", "CallSign,Continent\n");
    EXPECT_EQ(RunCommand({empty.Path(), "--json"}).Out,
              "{\n"
              "  \"report\": \"Band\\t  QSOs\\tPoints\\tVClist\\t\\r\\nTotal\\t     0\\t     0\\t     0\\t\\r\\n"
              " Score: 0*0=0\",\n"
              "  \"bands\": [],\n"
              "  \"totals\": {\"qsos\": 0, \"points\": 0, \"members\": 0},\n"
              "  \"score\": 0,\n"
              "  \"warnings\": 2,\n"
              "  \"contacts\": []\n"
              "}\n")
        << "an empty log (no contacts, no band): options may follow the log";
}

TEST(ScoreCommand, TextsAreEscaped)
{
    EXPECT_EQ(EscapedField("DL1ABC/P"), "DL1ABC/P");
    EXPECT_EQ(EscapedField("a\tb\r\nc\\d\x7F\xE9"), "a\\x09b\\x0D\\x0Ac\\\\d\\x7F\xE9")
        << "controls and backslash escaped, other high bytes kept";
    EXPECT_EQ(JsonString("\"\\/\b\f\n\r\t\x01\x7F\xFF"), "\"\\\"\\\\/\\b\\f\\n\\r\\t\\u0001\x7F\xC3\xBF\"")
        << "controls escaped, a Windows-1252 byte as its UTF-8 character";
}

TEST(ScoreCommand, ExitStatus)
{
    const TRun help = RunCommand({"--help"});
    EXPECT_EQ(help.Status, kExitScored);
    EXPECT_EQ(help.Out, ScoreUsageText());
    EXPECT_EQ(help.Out.rfind("Usage: velmora-score [--json] LOG\n", 0), 0u);

    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {}, {"--json"}, {"--xml", "log.adi"}, {"--json", "--csv", "a.adi"}, {"-", "-"}}) {
        const TRun run = RunCommand(args);
        EXPECT_EQ(run.Status, kExitUsage) << "args: " << ::testing::PrintToString(args);
        EXPECT_EQ(run.Out, "") << "nothing on the output for a usage error";
        EXPECT_NE(run.Err.find("Try 'velmora-score --help'."), std::string::npos);
    }

    const TRun missing = RunCommand({"--", "-no-such-log.adi"});
    EXPECT_EQ(missing.Status, kExitUnreadableLog) << "after --, a name starting with - is a log";
    EXPECT_EQ(missing.Err, "velmora-score: -no-such-log.adi: no such file\n");
    EXPECT_EQ(missing.Out, "");

    const TTempLogFile malformed("malformed.adi", "<CALL:5>K1ABC<EOR>\n<CALL:5>W1XYZ\n");
    const TRun bad = RunCommand({malformed.Path()});
    EXPECT_EQ(bad.Status, kExitUnreadableLog);
    EXPECT_EQ(bad.Err, "velmora-score: " + malformed.Path() +
                           ": line 2 (byte offset 19): record without <EOR> at the end of the file\n");
    EXPECT_EQ(bad.Out, "") << "no half report for a half-read log";
}

// A log that gives frequencies and no band puts each contact on the band of
// its frequency: the same call on 40 m after 20 m counts again.
TEST(ScoreCommand, BandsComeFromFrequencies)
{
    const TTempLogFile adif("frequencies.adi", "<CALL:5>K1ABC<FREQ:6>14.025<MODE:2>CW<EOR>\n"
                                               "<CALL:5>K1ABC<FREQ:5>7.025<MODE:2>CW<EOR>\n");
    const TTempLogFile cabrillo("frequencies.log", "START-OF-LOG: 3.0\n"
                                                   "QSO: 14025 CW 2026-03-01 1200 DL1ABC 599 VC12 K1ABC 599 1\n"
                                                   "QSO:  7025 CW 2026-03-01 1210 DL1ABC 599 VC12 K1ABC 599 2\n"
                                                   "END-OF-LOG:\n");
    for (const TTempLogFile* log : {&adif, &cabrillo}) {
        const TRun run = RunCommand({log->Path()});
        EXPECT_EQ(run.Status, kExitScored) << log->Path();
        EXPECT_NE(run.Out.find(" Score: 2*0=0\n1\tK1ABC\t20\tCW\t1\t\n2\tK1ABC\t40\tCW\t1\t\n"), std::string::npos)
            << log->Path() << ":\n" << run.Out;
        EXPECT_EQ(run.Err, "") << log->Path();
    }
}

TEST(ScoreCommand, WarningsGoToStandardError)
{
    const TTempLogFile csv("aliases.csv", "callsign,band,mode,rcvd,operator\nK1ABC,20m,CW,599 VC12,me\n,40,CW,1,me\n");
    const TRun run = RunCommand({csv.Path()});
    EXPECT_EQ(run.Status, kExitScored);
    EXPECT_NE(run.Out.find(" Score: 3*1=3\n"), std::string::npos) << "the aliases band and rcvd are read:\n" << run.Out;
    EXPECT_EQ(run.Err, "velmora-score: " + csv.Path() +
                           ": line 1: warning: columns ignored, not log columns: 'operator' (the log columns: "
                           "CallSign or call, DigiBand or band, QSOMode or mode, QSOReportRecived or rcvd or "
                           "exchange, Continent, ITUZone, MainPrefix, DXCCPrefix; and freq)\n"
                           "velmora-score: " + csv.Path() + ": line 3: warning: contact without a call, skipped\n");
}

// Exchanges from an old single-byte logger and from a UTF-8 one come out as
// the same UTF-8 text.
TEST(ScoreCommand, JsonOfNonAsciiExchanges)
{
    const TTempLogFile log("non-ascii.adi", "<CALL:5>K1ABC<BAND:3>20m<SRX_STRING:8>599 Jos\xE9<EOR>\n"
                                            "<CALL:4>W1AW<BAND:3>20m<SRX_STRING:9>599 Jos\xC3\xA9<EOR>\n"
                                            "<CALL:4>N1XX<BAND:3>20m<SRX_STRING:5>\x80 \x9D \xC3<EOR>\n");
    const TRun run = RunCommand({"--json", log.Path()});
    EXPECT_EQ(run.Status, kExitScored);
    EXPECT_NE(run.Out.find("\"call\": \"K1ABC\", \"band\": \"20\", \"mode\": null, \"exchange\": \"599 Jos\xC3\xA9\""),
              std::string::npos)
        << run.Out;
    EXPECT_NE(run.Out.find("\"call\": \"W1AW\", \"band\": \"20\", \"mode\": null, \"exchange\": \"599 Jos\xC3\xA9\""),
              std::string::npos)
        << run.Out;
    EXPECT_NE(run.Out.find("\"exchange\": \"\xE2\x82\xAC \xC2\x9D \xC3\x83\""), std::string::npos)
        << "the euro sign, an undefined byte kept as its control, a lone lead byte\n" << run.Out;
}

TEST(ScoreCommand, ManyLogsGiveTheTableEvenWhenOneCannotBeRead)
{
    const TTempLogFile first("first.log", "START-OF-LOG: 3.0\nCALLSIGN: DL1ABC\nCLAIMED-SCORE: 3\n"
                                          "QSO: 14025 CW 2026-03-01 1200 DL1ABC 599 VC12 OK1XYZ 599 VC5\nEND-OF-LOG:\n");
    const TTempLogFile second("second.csv", "call,band,rcvd\nK1ABC,40,599 VC7\nW1AW,40,599 VC8\n");
    const TTempLogFile broken("broken.adi", "<CALL:5>K1ABC");
    const TRun run = RunCommand({"--json", first.Path(), broken.Path(), second.Path()});
    EXPECT_EQ(run.Status, kExitUnreadableLog);
    EXPECT_NE(run.Out.find("\"station\": \"velmora-tools-test-second.csv\""), std::string::npos)
        << "without a station call the file's name stands in\n" << run.Out;
    EXPECT_LT(run.Out.find("\"score\": 12"), run.Out.find("\"score\": 3")) << "highest score first\n" << run.Out;
    EXPECT_NE(run.Out.find("\"unreadable\": [\n    {\n      \"file\": " + JsonString(broken.Path()) +
                           ",\n      \"error\": \"record without <EOR> at the end of the file\""),
              std::string::npos)
        << run.Out;
    EXPECT_NE(run.Err.find(broken.Path() + ": line 1 (byte offset 0): record without <EOR>"), std::string::npos)
        << run.Err;
}

TEST(ScoreCommand, VersionAndFolders)
{
    EXPECT_EQ(RunCommand({"--version"}).Out.rfind("velmora-score ", 0), 0u);
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "velmora-tools-test-empty-folder";
    std::filesystem::create_directories(folder);
    const TRun empty = RunCommand({folder.string()});
    EXPECT_EQ(empty.Status, kExitUnreadableLog);
    EXPECT_EQ(empty.Err, "velmora-score: " + folder.string() + ": the folder holds no log files\n");
    std::filesystem::remove(folder);
}

TEST(ScoreCommand, FolderGivesItsLogFilesOnly)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "velmora-tools-test-contest-folder";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const auto write = [&folder](const char* name, const char* text) { std::ofstream(folder / name) << text; };
    write("DL1ABC.LOG", "START-OF-LOG: 3.0\nCALLSIGN: DL1ABC\n"
                        "QSO: 14025 CW 2026-03-01 1200 DL1ABC 599 VC12 OK1XYZ 599 VC5\nEND-OF-LOG:\n");
    write("README.md", "# The logs of the contest\n");
    write(".DL1ABC.log.swp", "not a log");
    const TRun run = RunCommand({folder.string()});
    EXPECT_EQ(run.Status, kExitScored) << "notes and hidden files beside the logs are no logs\n" << run.Err;
    EXPECT_EQ(run.Err, "");
    EXPECT_NE(run.Out.find("DL1ABC "), std::string::npos) << run.Out;
    EXPECT_EQ(run.Out.find("README"), std::string::npos) << run.Out;
    std::filesystem::remove_all(folder);
}
