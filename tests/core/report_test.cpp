// The exact text of the statistics report.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scoring/StatisticReport.h"

namespace {

const std::string kHeader = "Band\t  QSOs\tPoints\tVClist\t";

}  // namespace

TEST(Report, PadLeft)
{
    EXPECT_EQ(PadLeft("20", 4, " "), "  20");
    EXPECT_EQ(PadLeft("", 4, " "), "    ") << "an empty text becomes all fill";
    EXPECT_EQ(PadLeft("1234", 4, " "), "1234") << "a text of the width stays";
    EXPECT_EQ(PadLeft("20m-band", 4, " "), "20m-band") << "a longer text is never shortened";
    EXPECT_EQ(PadLeft("7", 3, "ab"), "abab7") << "the fill text repeats once per missing character";
    EXPECT_EQ(PadLeft("7", -2, " "), "7") << "a negative width adds nothing";
}

TEST(Report, Texts)
{
    EXPECT_EQ(StatisticReportText({}),
              kHeader + "\r\n" + "Total\t     0\t     0\t     0\t\r\n" + " Score: 0*0=0")
        << "empty report";

    EXPECT_EQ(StatisticReportText({TStatistic("20", 2, 4, 1)}),
              kHeader + "\r\n" + "  20\t     2\t     4\t     1\t\r\n" + "Total\t     2\t     4\t     1\t\r\n" +
                  " Score: 4*1=4")
        << "one band: 2 contacts, 4 points, 1 member";

    EXPECT_EQ(StatisticReportText({TStatistic("20", 3, 5, 0), TStatistic("", 1, 1, 0)}),
              kHeader + "\r\n" + "  20\t     3\t     5\t     0\t\r\n" + "    \t     1\t     1\t     0\t\r\n" +
                  "Total\t     4\t     6\t     0\t\r\n" + " Score: 6*0=0")
        << "an empty band is four spaces; no member gives score 0";

    EXPECT_EQ(StatisticReportText({TStatistic("2190m", 1234567, 3703701, 7), TStatistic("40", 1, 3, 1)}),
              kHeader + "\r\n" + "2190m\t1234567\t3703701\t     7\t\r\n" + "  40\t     1\t     3\t     1\t\r\n" +
                  "Total\t1234568\t3703704\t     8\t\r\n" + " Score: 3703704*8=29629632")
        << "long band and numbers are written whole, bands in list order";
}

TEST(Report, BigContestScoreDoesNotWrap)
{
    EXPECT_EQ(StatisticReportText({TStatistic("20", 100000, 300000, 12000)}),
              kHeader + "\r\n" + "  20\t100000\t300000\t 12000\t\r\n" + "Total\t100000\t300000\t 12000\t\r\n" +
                  " Score: 300000*12000=3600000000")
        << "a score past 2^31 stays positive";

    const std::string text = StatisticReportText(
        {TStatistic("20", 1500000000, 1500000000, 1500000000), TStatistic("40", 1500000000, 1500000000, 1500000000)});
    EXPECT_NE(text.find("Total\t3000000000\t3000000000\t3000000000\t"), std::string::npos)
        << "totals past 2^31: " << text;
    EXPECT_NE(text.find(" Score: 3000000000*3000000000=9000000000000000000"), std::string::npos)
        << "score of totals past 2^31: " << text;
}
