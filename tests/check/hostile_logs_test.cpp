// Logs written to harm or confuse: entrant text in the HTML page and the CSV
// files, malformed logs among good ones, a second log from one station, and
// an output folder that would overwrite the logs.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "CheckTestFolder.h"
#include "velmora-check/CheckCommand.h"

namespace {

const std::string kGoodA = "START-OF-LOG: 3.0\nCALLSIGN: DL1ABC\n"
                           "QSO: 14025 CW 2026-03-01 1200 DL1ABC 599 VC12 OK1XYZ 599 VC7\nEND-OF-LOG:\n";
const std::string kGoodB = "START-OF-LOG: 3.0\nCALLSIGN: OK1XYZ\n"
                           "QSO: 14025 CW 2026-03-01 1201 OK1XYZ 599 VC7 DL1ABC 599 VC12\nEND-OF-LOG:\n";

struct TRun {
    int Status = -1;
    std::string Out;
    std::string Err;
};

TRun Check(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    TRun run;
    run.Status = RunCheck(args, out, err);
    run.Out = out.str();
    run.Err = err.str();
    return run;
}

TEST(HostileLogs, EntrantTextShowsAsTextInThePage)
{
    TCheckTestFolder folder("html");
    folder.WriteLog("a.log", "START-OF-LOG: 3.0\nCALLSIGN: <script>alert(1)</script>\n"
                             "CATEGORY-OPERATOR: <img src=x onerror=alert(2)>\n"
                             "QSO: 14025 CW 2026-03-01 1200 X 599 1 <b>bold</b> 599 2\nEND-OF-LOG:\n");
    folder.WriteLog("b.log", kGoodB);
    const TRun run = Check({folder.Logs(), "--out", folder.Out()});
    ASSERT_EQ(run.Status, kExitChecked) << run.Err;

    const std::string page = folder.Result("results.html");
    EXPECT_EQ(page.find("<SCRIPT"), std::string::npos) << "a call opened a script element";
    EXPECT_EQ(page.find("<img"), std::string::npos) << "a category opened an image element";
    EXPECT_EQ(page.find("<b>"), std::string::npos);
    EXPECT_NE(page.find("&lt;SCRIPT&gt;ALERT(1)&lt;/SCRIPT&gt;"), std::string::npos) << "the call is not shown";
    EXPECT_NE(page.find("&lt;img src=x onerror=alert(2)&gt;"), std::string::npos) << "the category is not shown";
    EXPECT_EQ(page.find("://"), std::string::npos) << "the page must not reach the network";
    EXPECT_EQ(page.find("<script"), std::string::npos) << "the page runs no script";
}

TEST(HostileLogs, SpreadsheetFormulasAreMadeInert)
{
    TCheckTestFolder folder("csv");
    folder.WriteLog("a.log", "START-OF-LOG: 3.0\nCALLSIGN: =CMD|' /C calc'!A0\nCATEGORY-OPERATOR: +SUM(1,2)\n"
                             "QSO: 14025 CW 2026-03-01 1200 X 599 1 @SUM(A1) 599 2\n"
                             "QSO: 14025 CW 2026-03-01 1201 X 599 1 -2+3 599 2\nEND-OF-LOG:\n");
    const TRun run = Check({folder.Logs(), "--out", folder.Out()});
    ASSERT_EQ(run.Status, kExitChecked) << run.Err;

    const std::string results = folder.Result("results.csv");
    EXPECT_NE(results.find(",'=CMD|' /C CALC'!A0,\"'+SUM(1,2)\","), std::string::npos) << results;
    const std::string verdicts = folder.Result("verdicts.csv");
    EXPECT_NE(verdicts.find("\n'=CMD|' /C CALC'!A0,4,'@SUM(A1),"), std::string::npos) << verdicts;
    EXPECT_NE(verdicts.find(",'-2+3,"), std::string::npos) << verdicts;
    for (const std::string& text : {results, verdicts}) {
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);)
            for (const char lead : {'=', '+', '-', '@'})
                EXPECT_EQ(line.find(std::string(",") + lead), std::string::npos) << "live formula in: " << line;
    }
}

TEST(HostileLogs, MalformedLogsAreLeftOutAndTheOthersChecked)
{
    TCheckTestFolder folder("malformed");
    folder.WriteLog("a.log", kGoodA);
    folder.WriteLog("b.log", kGoodB);
    const std::string broken = folder.WriteLog("broken.adi", "<EOH>\n<CALL:40>W1AW<EOR>\n");
    const std::string empty = folder.WriteLog("empty.log", "");
    const TRun run = Check({folder.Logs(), "--out", folder.Out()});

    EXPECT_EQ(run.Status, kExitLogsLeftOut) << "a left-out log must not look like success";
    EXPECT_NE(run.Err.find(broken + ": line 2"), std::string::npos) << run.Err;
    EXPECT_NE(run.Err.find(empty), std::string::npos) << run.Err;
    const std::string verdicts = folder.Result("verdicts.csv");
    EXPECT_NE(verdicts.find("DL1ABC,3,OK1XYZ,20,CW,2026-03-01T12:00Z,ok,"), std::string::npos) << verdicts;
    EXPECT_NE(verdicts.find("OK1XYZ,3,DL1ABC,20,CW,2026-03-01T12:01Z,ok,"), std::string::npos) << verdicts;
    EXPECT_NE(folder.Result("results.txt").find("Logs left out"), std::string::npos);
    EXPECT_NE(folder.Result("results.json").find("\"left_out\": [\n    {\n      \"file\""), std::string::npos);
    EXPECT_NE(folder.Result("results.html").find("broken.adi"), std::string::npos);
}

TEST(HostileLogs, WhatAReaderDidNotTakeAsWrittenIsSaid)
{
    TCheckTestFolder folder("warnings");
    folder.WriteLog("a.log", kGoodA);
    const std::string odd = folder.WriteLog(
        "b.log", "START-OF-LOG: 3.0\nCALLSIGN: OK1XYZ\n"
                 "QSO: 14025 CW 2026-03-01 1201 OK1XYZ 599 VC5 DL1ABC 599 VC12\n"
                 "X-QSO: 14025 CW 2026-03-01 1203 OK1XYZ 599 VC5 W1AW 599 001\nEND-OF-LOG:\n");
    const TRun run = Check({folder.Logs(), "--out", folder.Out()});
    EXPECT_EQ(run.Status, kExitChecked) << run.Err;
    EXPECT_NE(run.Err.find("velmora-check: " + odd + ": warning: 1 X-QSO line read and not scored"),
              std::string::npos)
        << run.Err;
}

TEST(HostileLogs, ASecondLogFromOneStationIsLeftOut)
{
    TCheckTestFolder folder("second");
    folder.WriteLog("a.log", kGoodA);
    folder.WriteLog("a2.log", kGoodA);
    folder.WriteLog("b.log", kGoodB);
    const TRun run = Check({folder.Logs(), "--out", folder.Out()});
    EXPECT_EQ(run.Status, kExitLogsLeftOut);
    EXPECT_NE(run.Err.find("a second log of DL1ABC"), std::string::npos) << run.Err;
    EXPECT_EQ(folder.Result("verdicts.csv"),
              "log,line,call,band,mode,time,verdict,points,detail\n"
              "DL1ABC,3,OK1XYZ,20,CW,2026-03-01T12:00Z,ok,3,OK1XYZ line 3\n"
              "OK1XYZ,3,DL1ABC,20,CW,2026-03-01T12:01Z,ok,3,DL1ABC line 3\n");
}

TEST(HostileLogs, ResultsNeverOverwriteTheLogs)
{
    TCheckTestFolder folder("overwrite");
    // A log named as the report of its own station would be.
    const std::string log = folder.WriteLog("DL1ABC.txt", kGoodA);
    folder.WriteLog("b.log", kGoodB);
    const TRun run = Check({folder.Logs(), "--out", folder.Logs()});
    EXPECT_EQ(run.Status, kExitUsage);
    EXPECT_NE(run.Err.find("choose another --out"), std::string::npos) << run.Err;
    EXPECT_EQ(TCheckTestFolder::ReadWhole(log), kGoodA) << "the log was changed";
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(folder.Logs()) / "verdicts.csv"));
}

TEST(HostileLogs, ACallIsNeverAPath)
{
    TCheckTestFolder folder("path");
    folder.WriteLog("a.log", "START-OF-LOG: 3.0\nCALLSIGN: ../../evil\n"
                             "QSO: 14025 CW 2026-03-01 1200 X 599 1 DL1ABC 599 2\nEND-OF-LOG:\n");
    const TRun run = Check({folder.Logs(), "--out", folder.Out()});
    ASSERT_EQ(run.Status, kExitChecked) << run.Err;
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(folder.Out()) / "------EVIL.txt"));
    for (const auto& entry : std::filesystem::directory_iterator(folder.Out()))
        EXPECT_EQ(entry.path().extension().string().find("partial"), std::string::npos) << entry.path();
}

TEST(CommandLine, WrongOptionsAreRefused)
{
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {},
             {"logs", "--tolerance", "soon"},
             {"logs", "--from", "2026-02-30T12:00Z"},
             {"logs", "--from", "2026-03-02T12:00Z", "--to", "2026-03-01T12:00Z"},
             {"logs", "--jobs", "0"},
             {"logs", "--nil-penalty", "-1"},
             {"logs", "--out"},
             {"logs", "--colour"},
         }) {
        const TRun run = Check(args);
        EXPECT_EQ(run.Status, kExitUsage) << testing::PrintToString(args);
        EXPECT_NE(run.Err.find("Try 'velmora-check --help'"), std::string::npos) << run.Err;
    }
}

TEST(CommandLine, TimingsLineHasTheAgreedForm)
{
    TCheckTestFolder folder("timings");
    folder.WriteLog("a.log", kGoodA);
    folder.WriteLog("b.log", kGoodB);
    const TRun run = Check({folder.Logs(), "--out", folder.Out(), "--timings"});
    ASSERT_EQ(run.Status, kExitChecked) << run.Err;
    EXPECT_TRUE(std::regex_search(
        run.Err, std::regex("(^|\n)timings: read [0-9]+\\.[0-9]{3} s, check [0-9]+\\.[0-9]{3} s, "
                            "write [0-9]+\\.[0-9]{3} s, total [0-9]+\\.[0-9]{3} s\n"
                            "timings of the check: normalise [0-9.]+ s, score claimed [0-9.]+ s, match [0-9.]+ s, "
                            "decide [0-9.]+ s, score checked [0-9.]+ s\n$")))
        << run.Err;
}

}  // namespace
