// What the simulator writes: Cabrillo the project's reader takes as written,
// the same files for the same random start, and a command line that never
// replaces what is already there.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "contest-sim/CompareTruth.h"
#include "contest-sim/CsvTable.h"
#include "contest-sim/SimCalls.h"
#include "contest-sim/SimCommand.h"
#include "contest-sim/SimFiles.h"
#include "logfiles/LogFile.h"
#include "tests/sim/SimTestContest.h"
#include "velmora-score/ScoreLog.h"

namespace {

std::string AllFilesOf(const TJudgedContest& judged)
{
    std::string text;
    for (const TSimLog& log : judged.Contest.Logs)
        text += CabrilloText(judged.Contest, log);
    return text + MemberFileText(judged.Contest) + VerdictsCsvText(judged.Contest, judged.Truths) +
           ResultsCsvText(judged.Contest, judged.Truths);
}

std::filesystem::path FreshFolder(const std::string& name)
{
    std::filesystem::path folder = std::filesystem::temp_directory_path() / ("velmora-sim-test-" + name);
    std::filesystem::remove_all(folder);
    return folder;
}

}  // namespace

TEST(SimulatedFiles, TheSameRandomStartGivesTheSameContest)
{
    const std::string first = AllFilesOf(JudgedContest(FaultyContestOptions(11)));
    EXPECT_EQ(first, AllFilesOf(JudgedContest(FaultyContestOptions(11))));
    EXPECT_NE(first, AllFilesOf(JudgedContest(FaultyContestOptions(12))));
}

TEST(SimulatedFiles, TheProjectsReaderTakesEveryLogAsWritten)
{
    const TJudgedContest judged = JudgedContest(FaultyContestOptions(13));
    const TSimContest& contest = judged.Contest;
    for (const TSimLog& log : contest.Logs) {
        const TSimStation& self = contest.Stations[log.Station];
        const TLogReadResult read = ReadLogTextOfAnyFormat(CabrilloText(contest, log));
        ASSERT_TRUE(read.Ok()) << self.Call << ": " << read.Error->Message();
        EXPECT_EQ(read.Format, TLogFormat::Cabrillo) << self.Call;
        // The reader tells of X-QSO lines it leaves unscored, and of nothing else.
        for (const TLogWarning& warning : read.Warnings)
            EXPECT_NE(warning.What.find("X-QSO"), std::string::npos) << self.Call << ": " << warning.Message();
        EXPECT_EQ(read.Header.StationCall, self.Call);
        EXPECT_EQ(read.Header.ClaimedScore, log.ClaimedScore) << self.Call;
        ASSERT_EQ(read.Contacts.size(), log.Entries.size()) << self.Call;
        for (std::size_t i = 0; i < log.Entries.size(); ++i) {
            const TSimEntry& entry = log.Entries[i];
            const TLogContact& contact = read.Contacts[i];
            const std::string where = self.Call + " line " + std::to_string(entry.Line);
            EXPECT_EQ(contact.Line, entry.Line) << where;
            EXPECT_EQ(contact.Call, entry.Call) << where;
            EXPECT_EQ(contact.Band, kSimBandNames[entry.Band]) << where;
            EXPECT_EQ(contact.Mode, ModeText(self, entry.Mode)) << where;
            const std::string minute = MinuteText(entry.LoggedMinute);
            EXPECT_EQ(contact.Date, minute.substr(0, 10)) << where;
            EXPECT_EQ(contact.Time, minute.substr(11, 2) + minute.substr(14, 2)) << where;
            EXPECT_EQ(contact.IsXQso, entry.XQso) << where;
            EXPECT_EQ(contact.SentExchange, (std::vector<std::string>{ReportOf(entry.Mode), entry.SentExchange}))
                << where;
            EXPECT_EQ(contact.ReceivedExchange,
                      (std::vector<std::string>{ReportOf(entry.Mode), entry.ReceivedExchange}))
                << where;
        }
        // The score the header states is the one the project's scorer gives.
        std::int64_t points = 0, members = 0;
        for (const TStatistic& tally : ScoreLogRows(read.Rows).StatList) {
            points += tally.Points;
            members += tally.Members;
        }
        EXPECT_EQ(points * members, log.ClaimedScore) << self.Call;
    }
}

TEST(SimulatedFiles, MemberFileNamesEveryMemberOnce)
{
    const TJudgedContest judged = JudgedContest(SmallContestOptions(14));
    std::istringstream file(MemberFileText(judged.Contest));
    std::set<std::string> numbers;
    std::string line;
    std::size_t members = 0;
    while (std::getline(file, line)) {
        ASSERT_EQ(line.back(), '\r');
        const std::string number = line.substr(line.find('=') + 1, line.size() - line.find('=') - 2);
        EXPECT_TRUE(numbers.insert(number).second) << "member number given twice: " << line;
        // The plug-in reads the first 15 characters of a line only.
        EXPECT_LE(line.size() - 1, 15u) << line;
    }
    for (const TSimStation& station : judged.Contest.Stations)
        members += station.Member != 0;
    EXPECT_EQ(numbers.size(), members);
}

TEST(CallSlips, OneSlipOfCopyingAndNoMore)
{
    EXPECT_TRUE(IsSlipOf("DL1ABD", "DL1ABC"));   // changed
    EXPECT_TRUE(IsSlipOf("DL1AB", "DL1ABC"));    // dropped
    EXPECT_TRUE(IsSlipOf("DL1ABCC", "DL1ABC"));  // added
    EXPECT_TRUE(IsSlipOf("DL1BAC", "DL1ABC"));   // swapped
    EXPECT_TRUE(IsSlipOf("LD1ABC", "DL1ABC"));
    EXPECT_FALSE(IsSlipOf("DL1ABC", "DL1ABC"));
    EXPECT_FALSE(IsSlipOf("DL1XYC", "DL1ABC"));
    EXPECT_FALSE(IsSlipOf("DL1A", "DL1ABC"));
    EXPECT_FALSE(IsSlipOf("DL1BCA", "DL1ABC"));
    TSimRandom random(3);
    for (int i = 0; i < 2000; ++i) {
        const std::string call = RandomCall(random);
        const std::string slip = RandomSlip(call, random);
        EXPECT_TRUE(IsSlipOf(slip, call)) << call << " -> " << slip;
        EXPECT_TRUE(IsSlipOf(call, slip)) << slip << " -> " << call;
    }
    for (const std::string& slip : SlipsOf("K3XY/P"))
        EXPECT_TRUE(IsSlipOf(slip, "K3XY/P")) << slip;
}

TEST(SimCommandLine, RefusesAFolderThatHoldsSomething)
{
    const std::filesystem::path folder = FreshFolder("occupied");
    std::filesystem::create_directories(folder);
    { std::ofstream(folder / "keep.txt") << "precious"; }
    std::ostringstream out, err;
    EXPECT_EQ(RunContestSim({"--out", folder.string(), "--logs", "3"}, out, err), 1);
    EXPECT_NE(err.str().find("not an empty folder"), std::string::npos) << err.str();
    std::ifstream kept(folder / "keep.txt");
    std::string text;
    std::getline(kept, text);
    EXPECT_EQ(text, "precious");
    EXPECT_FALSE(std::filesystem::exists(folder / "logs"));
    std::filesystem::remove_all(folder);
}

TEST(SimCommandLine, WritesTheLogsMemberFileAndTruth)
{
    const std::filesystem::path folder = FreshFolder("written");
    std::ostringstream out, err;
    ASSERT_EQ(RunContestSim({"--out", folder.string(), "--logs", "5", "--random-start", "9"}, out, err), 0) << err.str();
    EXPECT_NE(out.str().find("5 logs"), std::string::npos) << out.str();
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder / "logs"), {}), 5);
    TCsvTable verdicts, results;
    std::string error;
    ASSERT_TRUE(ReadCsvFile((folder / "truth" / "verdicts.csv").string(), verdicts, error)) << error;
    ASSERT_TRUE(ReadCsvFile((folder / "truth" / "results.csv").string(), results, error)) << error;
    EXPECT_EQ(verdicts.Header, (std::vector<std::string>{"log", "line", "call", "band", "mode", "time", "verdict",
                                                         "points", "detail"}));
    EXPECT_EQ(results.Rows.size(), 5u);
    EXPECT_TRUE(std::filesystem::exists(folder / "VC.dom"));
    std::filesystem::remove_all(folder);
}

TEST(SimCommandLine, WrongCommandLinesExitWithTwo)
{
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{"--logs", "5"},
                                               {"--out", "x", "--logs", "zero"},
                                               {"--out", "x", "--dupe-rate", "1.5"},
                                               {"--out", "x", "--from", "2026-03-01 12:00"},
                                               {"--out", "x", "--to", "2026-03-01T13:00Z"},
                                               {"--out", "x", "--no-such-option", "1"},
                                               {"--out"}}) {
        std::ostringstream out, err;
        EXPECT_EQ(RunContestSim(arguments, out, err), 2) << arguments.back();
        EXPECT_FALSE(err.str().empty());
    }
    std::ostringstream out, err;
    EXPECT_EQ(RunContestSim({"--help"}, out, err), 0);
    EXPECT_NE(out.str().find("Exit status"), std::string::npos);
}

TEST(TruthComparison, APlainlyWrongVerdictCostsPrecisionAndRecall)
{
    const std::string header = "log,line,call,band,mode,time,verdict,points,detail\n";
    const std::string truthText = header + "A1A,10,B1B,20,CW,2026-03-01T12:00Z,ok,1,\n" +
                                  "A1A,11,C1C,20,CW,2026-03-01T12:01Z,nil,0,\"not in the log of C1C, sorry\"\n" +
                                  "B1B,10,A1A,20,CW,2026-03-01T12:00Z,ok,1,\n";
    const std::string checkText = header + "B1B,10,A1A,20,CW,2026-03-01T12:00Z,ok,1,\n" +
                                  "A1A,11,C1C,20,CW,2026-03-01T12:01Z,ok,1,\n" +
                                  "A1A,10,B1B,20,CW,2026-03-01T12:00Z,ok,1,\n";
    const std::string results = "station,checked_score\nA1A,1\nB1B,1\n";
    TCsvTable truth, checked, truthResults, checkResults;
    std::string error;
    ASSERT_TRUE(ParseCsv(truthText, truth, error)) << error;
    ASSERT_TRUE(ParseCsv(checkText, checked, error)) << error;
    ASSERT_TRUE(ParseCsv(results, truthResults, error)) << error;
    ASSERT_TRUE(ParseCsv("station,checked_score\r\nA1A,2\r\nB1B,1\r\n", checkResults, error)) << error;
    EXPECT_EQ(truth.Rows[1][8], "not in the log of C1C, sorry");

    TTruthComparison comparison;
    ASSERT_TRUE(CompareWithTruth(truth, truthResults, checked, checkResults, comparison, error)) << error;
    const auto agreement = [&comparison](const std::string& verdict) {
        for (const TVerdictAgreement& each : comparison.Verdicts)
            if (each.Verdict == verdict)
                return each;
        return TVerdictAgreement{};
    };
    EXPECT_DOUBLE_EQ(agreement("ok").Precision(), 2.0 / 3.0);
    EXPECT_DOUBLE_EQ(agreement("ok").Recall(), 1.0);
    EXPECT_DOUBLE_EQ(agreement("nil").Recall(), 0.0);
    EXPECT_EQ(comparison.ScoreDifferences, (std::vector<std::string>{"A1A: truth 1, checker 2"}));
    EXPECT_FALSE(MeetsGoals(comparison, 0.5));

    // The checker's own verdicts against themselves meet every goal.
    ASSERT_TRUE(CompareWithTruth(checked, checkResults, checked, checkResults, comparison, error)) << error;
    EXPECT_TRUE(MeetsGoals(comparison, 1.0));
}

TEST(TruthComparison, UnreadableCsvSaysWhere)
{
    TCsvTable table;
    std::string error;
    EXPECT_FALSE(ParseCsv("a,b\n1,2\n3\n", table, error));
    EXPECT_EQ(error, "line 3: 1 fields where the header has 2");
    EXPECT_FALSE(ParseCsv("a,b\n1,\"2\n", table, error));
    EXPECT_EQ(error, "line 2: a quoted field is never closed");
}
