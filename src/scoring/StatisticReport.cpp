#include "scoring/StatisticReport.h"

#include <cstdint>

#include "scoring/TextRules.h"

std::string PadLeft(std::string_view text, int width, std::string_view fill)
{
    std::string result;
    for (long long n = static_cast<long long>(width) - static_cast<long long>(text.size()); n > 0; --n)
        result.append(fill);
    result.append(text);
    return result;
}

namespace {

std::string Column(long long value) { return PadLeft(std::to_string(value), 6, " "); }

void AddLine(std::string& report, const std::string& line)
{
    report += line;
    report += "\r\n";
}

}  // namespace

std::string StatisticReportText(const std::vector<TStatistic>& statList)
{
    // Totals are summed in 64 bits: a long contest must not wrap the claimed
    // score (points times members) into a negative number.
    long long totalQSOs = 0;
    long long totalPoints = 0;
    long long totalMembers = 0;

    std::string report;
    AddLine(report, "  Band\t  QSOs\tPoints\tVClist\t");
    for (const TStatistic& tally : statList) {
        AddLine(report, PadLeft(tally.Band, 4, " ") + "\t" + Column(tally.QSOs) + "\t" + Column(tally.Points) + "\t" +
                            Column(tally.Members) + "\t");
        totalQSOs += tally.QSOs;
        totalPoints += tally.Points;
        totalMembers += tally.Members;
    }
    AddLine(report, "Total\t" + Column(totalQSOs) + "\t" + Column(totalPoints) + "\t" + Column(totalMembers) + "\t");
    AddLine(report, " Score: " + std::to_string(totalPoints) + "*" + std::to_string(totalMembers) + "=" +
                        std::to_string(totalPoints * totalMembers));
    return std::string(TrimControlAndSpace(report));
}
