#include "ReportCheck.h"

#include <charconv>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"

namespace {

// Walks the report from the start, taking what each line must hold. A band
// text may hold any byte (a tab or a line break among them) so the report is
// never split up front: the band is known, and matched literally in place.
class TReportReader {
public:
    explicit TReportReader(std::string_view report) : Report_(report) {}

    void Expect(std::string_view text, const char* where)
    {
        FUZZ_CHECK(Report_.substr(At_, text.size()) == text,
                   std::string(where) + ": expected " + Escaped(text) + " at " + std::to_string(At_) + " of " +
                       Escaped(Report_));
        At_ += text.size();
    }

    // A number column: right-aligned to width 6 with spaces, never cut, then
    // the tab that ends it.
    std::int64_t Column(const char* where)
    {
        const std::size_t tab = Report_.find('\t', At_);
        FUZZ_CHECK(tab != std::string_view::npos, std::string(where) + ": no tab after a column");
        const std::string_view column = Report_.substr(At_, tab - At_);
        const std::size_t digits = column.find_first_not_of(' ');
        FUZZ_CHECK(digits != std::string_view::npos, std::string(where) + ": blank column");
        const std::string_view number = column.substr(digits);
        FUZZ_CHECK(column.size() == std::max<std::size_t>(6, number.size()),
                   std::string(where) + ": column " + Escaped(column) + " not padded to 6");
        At_ = tab + 1;
        return Parse(number, where);
    }

    // A number up to (not including) `end`, or to the end of the report.
    std::int64_t NumberUntil(char end, const char* where)
    {
        std::size_t stop = end == '\0' ? Report_.size() : Report_.find(end, At_);
        FUZZ_CHECK(stop != std::string_view::npos, std::string(where) + ": missing " + Escaped(std::string(1, end)));
        const std::int64_t value = Parse(Report_.substr(At_, stop - At_), where);
        At_ = stop;
        return value;
    }

    bool AtEnd() const { return At_ == Report_.size(); }

private:
    static std::int64_t Parse(std::string_view number, const char* where)
    {
        std::int64_t value = 0;
        const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
        FUZZ_CHECK(error == std::errc() && end == number.data() + number.size() && !number.empty(),
                   std::string(where) + ": not a decimal number: " + Escaped(number));
        // Written without a plus sign and without leading zeros.
        FUZZ_CHECK(std::to_string(value) == number, std::string(where) + ": " + Escaped(number));
        return value;
    }

    std::string_view Report_;
    std::size_t At_ = 0;
};

}  // namespace

void CheckReportAgainstTallies(std::string_view report, const std::vector<TStatistic>& statList)
{
    FUZZ_CHECK(!report.empty() && report.back() != '\n' && report.back() != '\r', "report ends in a line break");

    TReportReader reader(report);
    reader.Expect("Band\t  QSOs\tPoints\tVClist\t\r\n", "header");

    std::int64_t totalQSOs = 0;
    std::int64_t totalPoints = 0;
    std::int64_t totalMembers = 0;
    for (const TStatistic& tally : statList) {
        const std::string band =
            std::string(tally.Band.size() < 4 ? 4 - tally.Band.size() : 0, ' ') + tally.Band + "\t";
        reader.Expect(band, "band");
        FUZZ_CHECK(reader.Column("band QSOs") == tally.QSOs, "QSOs of band " + Escaped(tally.Band));
        FUZZ_CHECK(reader.Column("band points") == tally.Points, "points of band " + Escaped(tally.Band));
        FUZZ_CHECK(reader.Column("band members") == tally.Members, "members of band " + Escaped(tally.Band));
        reader.Expect("\r\n", "band line end");
        totalQSOs += tally.QSOs;
        totalPoints += tally.Points;
        totalMembers += tally.Members;
    }

    reader.Expect("Total\t", "total line");
    FUZZ_CHECK(reader.Column("total QSOs") == totalQSOs, "total QSOs");
    FUZZ_CHECK(reader.Column("total points") == totalPoints, "total points");
    FUZZ_CHECK(reader.Column("total members") == totalMembers, "total members");
    reader.Expect("\r\n Score: ", "score line");
    FUZZ_CHECK(reader.NumberUntil('*', "score points") == totalPoints, "score line points");
    reader.Expect("*", "score line");
    FUZZ_CHECK(reader.NumberUntil('=', "score members") == totalMembers, "score line members");
    reader.Expect("=", "score line");
    FUZZ_CHECK(reader.NumberUntil('\0', "score") == totalPoints * totalMembers, "score is points times members");
    FUZZ_CHECK(reader.AtEnd(), "text after the score");
}
