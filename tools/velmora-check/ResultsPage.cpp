// The results page: one file an organiser opens in any browser, with no
// script and no reference outside itself. Every entrant text goes through
// HtmlText.
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

#include "logfiles/BandNames.h"
#include "velmora-check/ReportFiles.h"
#include "velmora-check/ReportText.h"

namespace {

// How many of the leading logs the pictures show.
constexpr std::size_t kLogsInPictures = 15;
constexpr double kPictureWidth = 600;

// A call as a picture's label: long texts cut so they stay left of the bars
// (the table and the bar's tooltip show them whole).
std::string ShortLabel(const std::string& call)
{
    return call.size() <= 13 ? call : call.substr(0, 12) + "~";
}

struct TVerdictColour {
    TVerdict Verdict;
    const char* Colour;
};
constexpr TVerdictColour kVerdictColours[] = {
    {TVerdict::Ok, "#3a923a"},        {TVerdict::NoLog, "#8cc68c"},         {TVerdict::Unique, "#c5e0b4"},
    {TVerdict::Dupe, "#9e9e9e"},      {TVerdict::BustedCall, "#d62728"},    {TVerdict::Nil, "#ff7f0e"},
    {TVerdict::BustedExchange, "#e377c2"}, {TVerdict::OutOfPeriod, "#6a51a3"}, {TVerdict::XQso, "#444444"}};

constexpr const char* kBandColours[] = {"#1f77b4", "#ff7f0e", "#2ca02c", "#d62728", "#9467bd",
                                        "#8c564b", "#e377c2", "#7f7f7f", "#bcbd22", "#17becf"};

std::string Number(double value)
{
    char text[32];
    static_cast<void>(std::snprintf(text, sizeof text, "%.1f", value));
    return text;
}

std::string VerdictSharesPicture(const std::vector<const TCheckLog*>& logs)
{
    const std::size_t shown = std::min(logs.size(), kLogsInPictures);
    const double labelWidth = 100;
    const double barWidth = kPictureWidth - labelWidth - 10;
    const double rowHeight = 22;
    const double height = 50 + rowHeight * static_cast<double>(shown);
    std::string svg = "<svg role=\"img\" width=\"" + Number(kPictureWidth) + "\" height=\"" + Number(height) +
                      "\" aria-label=\"Verdict shares per log\">\n";
    double legendX = 0;
    double legendY = 4;
    for (const TVerdictColour& entry : kVerdictColours) {
        const std::string_view name = VerdictName(entry.Verdict);
        const double width = 22 + 6.5 * static_cast<double>(name.size());
        if (legendX + width > kPictureWidth) {
            legendX = 0;
            legendY += 14;
        }
        svg += Joined("<rect x=\"", Number(legendX), "\" y=\"", Number(legendY), "\" width=\"10\" height=\"10\" fill=\"", entry.Colour, "\"/><text x=\"", Number(legendX + 13), "\" y=\"", Number(legendY + 9), "\" font-size=\"11\">", std::string(name), "</text>\n");
        legendX += width;
    }
    for (std::size_t row = 0; row < shown; ++row) {
        const TCheckLog& log = *logs[row];
        const double y = 44 + rowHeight * static_cast<double>(row);
        svg += Joined("<text x=\"0\" y=\"", Number(y + 14), "\" font-size=\"12\">", HtmlText(ShortLabel(log.StationCall)), "</text>\n");
        std::size_t total = 0;
        for (const std::size_t count : log.VerdictCounts)
            total += count;
        double x = labelWidth;
        for (const TVerdictColour& entry : kVerdictColours) {
            const std::size_t count = log.VerdictCounts[static_cast<std::size_t>(entry.Verdict)];
            if (count == 0 || total == 0)
                continue;
            const double width = barWidth * static_cast<double>(count) / static_cast<double>(total);
            svg += Joined("<rect x=\"", Number(x), "\" y=\"", Number(y + 3), "\" width=\"", Number(width), "\" height=\"15\" fill=\"", entry.Colour, "\"><title>", HtmlText(log.StationCall), " ", std::string(VerdictName(entry.Verdict)), ": ", std::to_string(count), "</title></rect>\n");
            x += width;
        }
    }
    return svg + "</svg>\n";
}

std::string BandPicture(const TCheckRun& run, const std::vector<const TCheckLog*>& logs)
{
    const std::size_t shown = std::min(logs.size(), kLogsInPictures);
    // Checked contacts per band; the bands in the legend and the bars from
    // the longest wavelength to the shortest, those the naming does not
    // know after them in the order first met.
    std::vector<std::string> bands;
    std::vector<std::map<std::string, std::size_t>> perLog(shown);
    std::size_t most = 1;
    for (std::size_t row = 0; row < shown; ++row) {
        std::size_t total = 0;
        for (const TCheckContact& contact : logs[row]->Contacts) {
            if (contact.CheckedPoints <= 0)
                continue;
            const std::string& band = run.Bands.Text(contact.BandId);
            if (std::find(bands.begin(), bands.end(), band) == bands.end())
                bands.push_back(band);
            ++perLog[row][band];
            ++total;
        }
        most = std::max(most, total);
    }
    const double labelWidth = 100;
    const double barWidth = kPictureWidth - labelWidth - 10;
    const double rowHeight = 22;
    const double height = 50 + rowHeight * static_cast<double>(shown);
    std::stable_sort(bands.begin(), bands.end(),
                     [](const std::string& a, const std::string& b) { return BandRank(a) < BandRank(b); });
    std::string svg = "<svg role=\"img\" width=\"" + Number(kPictureWidth) + "\" height=\"" + Number(height) +
                      "\" aria-label=\"Checked contacts per band\">\n";
    for (std::size_t b = 0; b < bands.size() && b < 20; ++b) {
        const std::size_t column = b % 10;
        const std::size_t line = b / 10;
        const double x = 60.0 * static_cast<double>(column);
        const double y = 4 + 14.0 * static_cast<double>(line);
        svg += Joined("<rect x=\"", Number(x), "\" y=\"", Number(y), "\" width=\"10\" height=\"10\" fill=\"", kBandColours[b % 10], "\"/><text x=\"", Number(x + 13), "\" y=\"", Number(y + 9), "\" font-size=\"11\">", HtmlText(bands[b]), "</text>\n");
    }
    for (std::size_t row = 0; row < shown; ++row) {
        const double y = 30 + rowHeight * static_cast<double>(row) + (bands.size() > 10 ? 14 : 0);
        svg += Joined("<text x=\"0\" y=\"", Number(y + 14), "\" font-size=\"12\">", HtmlText(ShortLabel(logs[row]->StationCall)), "</text>\n");
        double x = labelWidth;
        for (std::size_t b = 0; b < bands.size(); ++b) {
            const auto found = perLog[row].find(bands[b]);
            if (found == perLog[row].end())
                continue;
            const double width = barWidth * static_cast<double>(found->second) / static_cast<double>(most);
            svg += Joined("<rect x=\"", Number(x), "\" y=\"", Number(y + 3), "\" width=\"", Number(width), "\" height=\"15\" fill=\"", kBandColours[b % 10], "\"><title>", HtmlText(logs[row]->StationCall), " ", HtmlText(bands[b]), ": ", std::to_string(found->second), "</title></rect>\n");
            x += width;
        }
    }
    return svg + "</svg>\n";
}

}  // namespace

std::string ResultsPageHtml(const TCheckRun& run)
{
    const std::vector<const TCheckLog*> ranked = RankedLogs(run);
    std::size_t contacts = 0;
    for (const TCheckLog& log : run.Logs)
        contacts += log.Contacts.size();

    std::string html =
        "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n"
        "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; style-src 'unsafe-inline'\">\n"
        "<title>Velmora Cup: checked results</title>\n<style>\n"
        "body{font-family:sans-serif;margin:24px;color:#222}h1{font-size:22px}h2{font-size:17px;margin-top:28px}\n"
        "table{border-collapse:collapse;font-size:13px}th,td{border:1px solid #ccc;padding:3px 7px;text-align:right}\n"
        "th{background:#eef}td.text,th.text{text-align:left}tr:nth-child(even){background:#f7f7f7}\n"
        ".pictures{display:flex;flex-wrap:wrap;gap:24px}\n</style></head><body>\n"
        "<h1>Velmora Cup: checked results</h1>\n<p id=\"summary\">" +
        std::to_string(run.Logs.size()) + " logs checked, " + std::to_string(contacts) + " contacts, " +
        std::to_string(run.LeftOut.size()) + " logs left out.</p>\n";

    html += Joined("<div class=\"pictures\"><div><h2>Checked contacts per band, leading logs</h2>\n", BandPicture(run, ranked), "</div><div><h2>Verdicts per log, leading logs</h2>\n", VerdictSharesPicture(ranked), "</div></div>\n");

    html += "<h2>Results</h2>\n<table id=\"results\"><thead><tr><th>Rank</th><th class=\"text\">Station</th><th class=\"text\">Category</th>"
            "<th>QSOs claimed</th><th>QSOs checked</th><th>Claimed score</th><th>Checked score</th>"
            "<th>Stated score</th><th>ok</th><th>dupe</th><th>busted call</th><th>nil</th><th>busted exchange</th>"
            "<th>unique</th><th>no log</th><th>out of period</th><th>X-QSO</th><th>Error rate</th>"
            "<th>Clock (min)</th></tr></thead><tbody>\n";
    std::size_t rank = 0;
    for (const TCheckLog* log : ranked) {
        html += Joined("<tr><td>", std::to_string(++rank), "</td><td class=\"text\">", HtmlText(log->StationCall), "</td><td class=\"text\">", HtmlText(log->Category), "</td><td>", std::to_string(log->ClaimedContacts), "</td><td>", std::to_string(log->CheckedContacts), "</td><td>", std::to_string(log->ClaimedScore), "</td><td>", std::to_string(log->CheckedScore), "</td><td>", HtmlText(log->StatedClaimedScore), "</td>");
        for (const TVerdict verdict : {TVerdict::Ok, TVerdict::Dupe, TVerdict::BustedCall, TVerdict::Nil,
                                       TVerdict::BustedExchange, TVerdict::Unique, TVerdict::NoLog,
                                       TVerdict::OutOfPeriod, TVerdict::XQso})
            html += Joined("<td>", std::to_string(log->VerdictCounts[static_cast<std::size_t>(verdict)]), "</td>");
        const std::int32_t offset = ReportedClockOffset(*log);
        html += Joined("<td>", ErrorRateText(*log), "</td><td>", (offset == 0 ? "" : std::to_string(offset)), "</td></tr>\n");
    }
    html += "</tbody></table>\n";
    if (!run.LeftOut.empty()) {
        html += "<h2>Logs left out</h2>\n<ul id=\"left-out\">\n";
        for (const TLeftOutLog& left : run.LeftOut)
            html += Joined("<li>", HtmlText(left.Reason), "</li>\n");
        html += "</ul>\n";
    }
    html += "</body></html>\n";
    return html;
}
