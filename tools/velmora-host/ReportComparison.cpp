#include "velmora-host/ReportComparison.h"

#include <algorithm>
#include <map>

namespace {

// The fixed lines: the header first, the total and the score last.
constexpr std::size_t kHeaderLines = 1;
constexpr std::size_t kTrailerLines = 2;

std::string Quoted(std::string_view text)
{
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\t')
            quoted += "\\t";
        else
            quoted += c;
    }
    return quoted + "'";
}

// Band line by band text; a band that appears twice (it never should) keeps
// every line, so the difference shows.
std::multimap<std::string, std::string> BandLines(const std::vector<std::string>& lines)
{
    std::multimap<std::string, std::string> bands;
    if (lines.size() < kHeaderLines + kTrailerLines)
        return bands;
    for (std::size_t at = kHeaderLines; at + kTrailerLines < lines.size(); ++at)
        bands.emplace(BandOfLine(lines[at]), lines[at]);
    return bands;
}

}  // namespace

std::vector<std::string> ReportLines(std::string_view report)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = report.find("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(report.substr(start));
            return lines;
        }
        lines.emplace_back(report.substr(start, end - start));
        start = end + 2;
    }
}

std::string BandOfLine(std::string_view line)
{
    const std::size_t tab = line.find('\t');
    std::string_view band = line.substr(0, tab);
    while (!band.empty() && band.front() == ' ')
        band.remove_prefix(1);
    return std::string(band);
}

TReportComparison CompareReports(std::string_view live, std::string_view rebuilt)
{
    TReportComparison comparison;
    if (live == rebuilt) {
        comparison.Agreement = TReportAgreement::Identical;
        return comparison;
    }
    const std::vector<std::string> liveLines = ReportLines(live);
    const std::vector<std::string> rebuiltLines = ReportLines(rebuilt);
    std::vector<std::string>& differences = comparison.Differences;

    if (liveLines.size() < kHeaderLines + kTrailerLines || rebuiltLines.size() < kHeaderLines + kTrailerLines) {
        differences.push_back("not a report: live " + Quoted(live) + " rebuilt " + Quoted(rebuilt));
        return comparison;
    }
    const auto compareFixed = [&](const char* what, const std::string& a, const std::string& b) {
        if (a != b)
            differences.push_back(std::string(what) + ": live " + Quoted(a) + " rebuilt " + Quoted(b));
    };
    compareFixed("header", liveLines.front(), rebuiltLines.front());
    compareFixed("total", liveLines[liveLines.size() - 2], rebuiltLines[rebuiltLines.size() - 2]);
    compareFixed("score", liveLines.back(), rebuiltLines.back());

    const auto liveBands = BandLines(liveLines);
    const auto rebuiltBands = BandLines(rebuiltLines);
    std::vector<std::string> bands;
    for (const auto& [band, line] : liveBands)
        bands.push_back(band);
    for (const auto& [band, line] : rebuiltBands)
        bands.push_back(band);
    std::sort(bands.begin(), bands.end());
    bands.erase(std::unique(bands.begin(), bands.end()), bands.end());
    for (const std::string& band : bands) {
        const auto [liveFirst, liveEnd] = liveBands.equal_range(band);
        const auto [rebuiltFirst, rebuiltEnd] = rebuiltBands.equal_range(band);
        std::string liveText;
        std::string rebuiltText;
        for (auto at = liveFirst; at != liveEnd; ++at)
            liveText += (liveText.empty() ? "" : " and ") + Quoted(at->second);
        for (auto at = rebuiltFirst; at != rebuiltEnd; ++at)
            rebuiltText += (rebuiltText.empty() ? "" : " and ") + Quoted(at->second);
        if (liveText != rebuiltText)
            differences.push_back("band " + band + ": live " + (liveText.empty() ? "none" : liveText) + " rebuilt " +
                                  (rebuiltText.empty() ? "none" : rebuiltText));
    }
    comparison.Agreement =
        differences.empty() ? TReportAgreement::SameTalliesOtherBandOrder : TReportAgreement::Different;
    return comparison;
}
