// The checker scores a log from its rows reduced to numbers; the plug-in's
// own rebuild (as velmora-score runs it) over the same rows must agree on
// every log, for both scores, whatever the texts hold: calls and bands in
// two letter cases, NULL cells, texts beyond a record field's 255
// characters, member numbers with leading zeros, repeats in any order.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "logfiles/LogRow.h"
#include "velmora-check/CheckTypes.h"
#include "velmora-check/ScoreStage.h"
#include "velmora-score/ScoreLog.h"

namespace {

std::int64_t RebuildScore(const std::vector<TLogRow>& rows)
{
    std::int64_t points = 0;
    std::int64_t members = 0;
    for (const TStatistic& tally : ScoreLogRows(rows).StatList) {
        points += tally.Points;
        members += tally.Members;
    }
    return points * members;
}

// Few distinct texts, so that repeats, case twins and shared member numbers
// are common.
TLogCell RandomCell(std::mt19937& random, const std::vector<std::string>& texts)
{
    const std::size_t pick = random() % (texts.size() + 1);
    if (pick == texts.size())
        return std::nullopt;
    return texts[pick];
}

std::vector<TLogRow> RandomRows(std::mt19937& random, std::size_t count)
{
    const std::string longCall = std::string(255, 'K') + "1";  // equal to the next within a record
    const std::vector<std::string> calls = {"DL1ABC", "dl1abc", "W1AW", "", " W1AW", longCall, longCall + "2", "G4XYZ"};
    const std::vector<std::string> bands = {"20M", "20m", "40M", ""};
    const std::vector<std::string> modes = {"CW", "cw", "SSB"};
    const std::vector<std::string> exchanges = {"599 VC12",  "599 vc12", "599 VC012", "VC7",    "599 VC1234",
                                                "599 VCX",   "599 017",  " \tvc30 ", "",        "VC VC9",
                                                std::string(254, ' ') + "VC5"};
    std::vector<TLogRow> rows(count);
    for (TLogRow& row : rows) {
        row[TLogColumn::CallSign] = RandomCell(random, calls);
        row[TLogColumn::DigiBand] = RandomCell(random, bands);
        row[TLogColumn::QSOMode] = RandomCell(random, modes);
        row[TLogColumn::QSOReportRecived] = RandomCell(random, exchanges);
    }
    return rows;
}

// A log of the check holding exactly those rows, each a contact.
TCheckRun RunOf(const std::vector<TLogRow>& rows)
{
    TCheckRun run;
    TCheckLog& log = run.Logs.emplace_back();
    log.StationCall = "OK1XYZ";
    const TLogColumn columns[kScoringCellCount] = {TLogColumn::CallSign, TLogColumn::DigiBand, TLogColumn::QSOMode,
                                                   TLogColumn::QSOReportRecived};
    for (std::size_t r = 0; r < rows.size(); ++r) {
        TCheckContact& contact = log.Contacts.emplace_back();
        contact.Line = static_cast<std::uint32_t>(r + 1);
        for (std::size_t cell = 0; cell < kScoringCellCount; ++cell) {
            const TLogCell& value = rows[r][columns[cell]];
            if (value)
                contact.RowCells[cell] = log.Keep(*value);
            else
                contact.RowNullCells = static_cast<std::uint8_t>(contact.RowNullCells | (1u << cell));
        }
    }
    return run;
}

TEST(ScoreRows, ClaimedScoreIsTheRebuildsOverEveryRow)
{
    for (unsigned round = 1; round <= 300; ++round) {
        std::mt19937 random(round);
        const std::vector<TLogRow> rows = RandomRows(random, 1 + random() % 40);
        TCheckRun run = RunOf(rows);
        ScoreClaimed(run, 1);
        ASSERT_EQ(run.Logs[0].ClaimedScore, RebuildScore(rows)) << "round " << round;
        ASSERT_EQ(run.Logs[0].ClaimedContacts, rows.size());
    }
}

TEST(ScoreRows, CheckedScoreIsTheRebuildsOverTheCreditedRows)
{
    const TVerdict verdicts[] = {TVerdict::Ok, TVerdict::Ok, TVerdict::NoLog, TVerdict::Unique, TVerdict::Nil,
                                 TVerdict::BustedCall, TVerdict::Dupe};
    for (unsigned round = 1; round <= 300; ++round) {
        std::mt19937 random(round);
        const std::vector<TLogRow> rows = RandomRows(random, 1 + random() % 40);
        TCheckRun run = RunOf(rows);
        run.Options.RemoveUniques = round % 2 == 0;
        ScoreClaimed(run, 1);
        std::vector<TLogRow> credited;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const TVerdict verdict = verdicts[random() % std::size(verdicts)];
            run.Logs[0].Contacts[r].Verdict = verdict;
            if (KeepsCredit(verdict) && !(run.Options.RemoveUniques && verdict == TVerdict::Unique))
                credited.push_back(rows[r]);
        }
        ScoreChecked(run, 1);
        ASSERT_EQ(run.Logs[0].CheckedScore, RebuildScore(credited)) << "round " << round;
        ASSERT_EQ(run.Logs[0].CheckedContacts, credited.size());
    }
}

TEST(ScoreRows, ARepeatIsTheLaterRowInTheDatabasesOrder)
{
    // "dl1abc" sorts with "DL1ABC" but comes later in the log, so it is the
    // repeat, and the first one's exchange gives the points.
    std::vector<TLogRow> rows(3);
    const char* const cells[3][4] = {{"W1AW", "20M", "CW", "599 VC1"},
                                     {"DL1ABC", "20M", "CW", "599 VC2"},
                                     {"DL1ABC", "20M", "CW", "599"}};
    for (std::size_t r = 0; r < rows.size(); ++r) {
        rows[r][TLogColumn::CallSign] = cells[r][0];
        rows[r][TLogColumn::DigiBand] = cells[r][1];
        rows[r][TLogColumn::QSOMode] = cells[r][2];
        rows[r][TLogColumn::QSOReportRecived] = cells[r][3];
    }
    TCheckRun run = RunOf(rows);
    ScoreClaimed(run, 1);
    const TCheckLog& log = run.Logs[0];
    EXPECT_EQ(log.Contacts[1].ClaimedResult, 3);
    EXPECT_EQ(log.Contacts[2].ClaimedResult, -1);
    EXPECT_EQ(log.Contacts[1].RepeatKey, log.Contacts[2].RepeatKey);
    EXPECT_NE(log.Contacts[0].RepeatKey, log.Contacts[1].RepeatKey);
    EXPECT_EQ(log.ClaimedScore, (3 + 3) * 2);
}

}  // namespace
