// The sample log, scored by velmora-score and, independently, by the
// reference scorer that follows the written algorithm literally.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "logfiles/LogFile.h"
#include "support/ReferenceScorer.h"
#include "velmora-score/ScoreCommand.h"
#include "velmora-score/ScoreLog.h"

namespace {

const std::string kSampleAdif = std::string(VELMORA_SAMPLES_DIR) + "/velmora-cup-sample.adi";

std::string Upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string CallOf(const TLogRow& row) { return row[TLogColumn::CallSign].value_or(""); }

bool IsPlainCall(const std::string& call)
{
    return std::all_of(call.begin(), call.end(), [](char c) {
        return c == '/' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    });
}

}  // namespace

TEST(SampleLog, ReadsWhole)
{
    const TLogReadResult log = LoadLogFile(kSampleAdif);
    ASSERT_TRUE(log.Ok()) << log.Error->Message();
    EXPECT_EQ(log.Rows.size(), 421u) << "as the generator writes it";
    std::set<std::string> bands;
    for (const TLogRow& row : log.Rows)
        bands.insert(row[TLogColumn::DigiBand].value_or("NULL"));
    EXPECT_EQ(bands, (std::set<std::string>{"10", "15", "20", "40", "80", "160"})) << "20m and 20M both read 20";
}

TEST(SampleLog, ReportEqualsTheReferenceScorers)
{
    const TLogReadResult log = LoadLogFile(kSampleAdif);
    ASSERT_TRUE(log.Ok()) << log.Error->Message();

    // The calls hold only letters, digits and '/', which the database's
    // collation ranks as an ordinal comparison of the upper-cased text
    // does: '/' before digits before letters. So the test orders the rows
    // its own way, without the collation under test.
    std::vector<std::size_t> order(log.Rows.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    for (const TLogRow& row : log.Rows)
        ASSERT_TRUE(IsPlainCall(CallOf(row))) << CallOf(row);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return Upper(CallOf(log.Rows[a])) < Upper(CallOf(log.Rows[b]));
    });

    // The plug-in's list would not be in byte order after a rebuild here
    // ("dl1abc" sorts among the "DL1ABC"s); the reference is kept sorted, as
    // the scorer under test keeps its list, so both answer every duplicate
    // check the same.
    TReferenceScorer reference;
    std::vector<std::int32_t> results(log.Rows.size());
    std::vector<std::string> members(log.Rows.size());
    for (std::size_t row : order) {
        const TLogRow& contact = log.Rows[row];
        const std::size_t keysBefore = reference.MemberKeys().size();
        results[row] = reference.AddQSO({CallOf(contact), contact[TLogColumn::DigiBand].value_or(""),
                                         contact[TLogColumn::QSOMode].value_or(""),
                                         contact[TLogColumn::QSOReportRecived].value_or("")});
        if (reference.MemberKeys().size() > keysBefore)
            members[row] = reference.MemberKeys().back();
    }

    const TScoredLog scored = ScoreLogRows(log.Rows);
    EXPECT_EQ(scored.Report, reference.ReportText());
    std::size_t duplicates = 0;
    std::size_t counted = 0;
    for (std::size_t row = 0; row < log.Rows.size(); ++row) {
        EXPECT_EQ(scored.Verdicts[row].Result, results[row]) << "row " << row + 1 << " " << CallOf(log.Rows[row]);
        const std::string key = scored.Verdicts[row].Member.empty()
                                    ? ""
                                    : log.Rows[row][TLogColumn::DigiBand].value_or("") + "|" +
                                          scored.Verdicts[row].Member + "|";
        EXPECT_EQ(key, members[row]) << "member counted on row " << row + 1;
        duplicates += results[row] < 0;
        counted += !members[row].empty();
    }
    EXPECT_GT(duplicates, 10u) << "the sample has duplicates to find";
    EXPECT_GT(counted, 100u) << "and members to count";

    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunScore({kSampleAdif}, out, err), kExitScored) << err.str();
    EXPECT_EQ(out.str().substr(0, scored.Report.size() + 1), scored.Report + "\n")
        << "the command prints the report byte for byte";
}
