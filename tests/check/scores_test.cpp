// Both scores of a log by the plug-in's rules: the claimed score is what
// velmora-score gives the same file, and the checked score is what it gives a
// file holding only the contacts that kept their credit.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "CheckTestFolder.h"
#include "logfiles/LogFile.h"
#include "velmora-check/CheckCommand.h"
#include "velmora-score/ScoreLog.h"

namespace {

std::int64_t ScoreOfFile(const std::string& path)
{
    const TLogReadResult log = LoadLogFile(path);
    EXPECT_TRUE(log.Ok()) << path;
    std::int64_t points = 0;
    std::int64_t members = 0;
    for (const TStatistic& tally : ScoreLogRows(log.Rows).StatList) {
        points += tally.Points;
        members += tally.Members;
    }
    return points * members;
}

// The row of `station` in results.csv, from its rank on.
std::string ResultRow(const std::string& results, const std::string& station)
{
    std::istringstream lines(results);
    for (std::string line; std::getline(lines, line);)
        if (line.find("," + station + ",") != std::string::npos)
            return line;
    return "";
}

TEST(Scores, ClaimedIsVelmoraScoresAndCheckedCountsWhatKeptCredit)
{
    TCheckTestFolder folder("scores");
    // Repeats, calls in two letter cases (two calls to the plug-in), member
    // numbers on two bands, a member heard twice on one band.
    const std::string header = "START-OF-LOG: 3.0\nCALLSIGN: OK1XYZ\nCLAIMED-SCORE: 99\n";
    const std::string kept = "QSO: 14025 CW 2026-03-01 1200 OK1XYZ 599 VC7 DL1ABC 599 VC12\n"
                             "QSO: 14030 CW 2026-03-01 1205 OK1XYZ 599 VC7 dl1abc 599 VC12\n"
                             "QSO: 7025 CW 2026-03-01 1210 OK1XYZ 599 VC7 DL1ABC 599 VC12\n"
                             "QSO: 7030 CW 2026-03-01 1215 OK1XYZ 599 VC7 G4XYZ 599 VC30\n"
                             "QSO: 7035 CW 2026-03-01 1220 OK1XYZ 599 VC7 EA1ZZ 599 017\n";
    const std::string lost = "QSO: 14025 CW 2026-03-01 1230 OK1XYZ 599 VC7 DL1ABC 599 VC12\n"
                             "QSO: 3525 CW 2026-03-01 1240 OK1XYZ 599 VC7 DL1ABC 599 VC12\n";
    const std::string a = folder.WriteLog("a.log", header + kept + lost + "END-OF-LOG:\n");
    folder.WriteLog("b.log", "START-OF-LOG: 3.0\nCALLSIGN: DL1ABC\n"
                             "QSO: 14025 CW 2026-03-01 1200 DL1ABC 599 VC12 OK1XYZ 599 VC7\n"
                             "QSO: 14030 CW 2026-03-01 1205 DL1ABC 599 VC12 OK1XYZ 599 VC7\n"
                             "QSO: 7025 CW 2026-03-01 1211 DL1ABC 599 VC12 OK1XYZ 599 VC7\nEND-OF-LOG:\n");
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunCheck({folder.Logs(), "--out", folder.Out()}, out, err), kExitChecked) << err.str();

    TCheckTestFolder only("scores-kept");
    const std::string keptOnly = only.WriteLog("a.log", header + kept + "END-OF-LOG:\n");
    const std::string row = ResultRow(folder.Result("results.csv"), "OK1XYZ");
    // rank,station,category,claimed_contacts,checked_contacts,claimed_score,checked_score,stated
    EXPECT_EQ(row.substr(row.find(',') + 1, row.find(",99,") - row.find(',') - 1),
              "OK1XYZ,,7,5," + std::to_string(ScoreOfFile(a)) + "," + std::to_string(ScoreOfFile(keptOnly)))
        << row;
    EXPECT_NE(ScoreOfFile(a), ScoreOfFile(keptOnly)) << "the case must lose score to mean anything";
}

}  // namespace
