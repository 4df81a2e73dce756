#include "velmora-score/ScoreTable.h"

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <tuple>

#include "logfiles/TextEncoding.h"
#include "velmora-score/ScoreLog.h"

namespace {

// Characters, not bytes, so UTF-8 names line up.
std::size_t DisplayWidth(const std::string& text)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string PaddedLeft(const std::string& text, std::size_t width)
{
    const std::size_t shown = DisplayWidth(text);
    return shown >= width ? text : std::string(width - shown, ' ') + text;
}

std::string PaddedRight(const std::string& text, std::size_t width)
{
    const std::size_t shown = DisplayWidth(text);
    return shown >= width ? text : text + std::string(width - shown, ' ');
}

std::string CsvCell(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

}  // namespace

TScoreLine ScoreLineOf(const std::string& file, const TLogReadResult& log)
{
    TScoreLine line;
    line.File = file;
    line.Station = log.Header.StationCall.empty() ? std::filesystem::path(file).filename().string()
                                                  : log.Header.StationCall;
    const TScoredLog scored = ScoreLogRows(log.Rows);
    for (const TStatistic& tally : scored.StatList) {
        line.Contacts += tally.QSOs;
        line.Points += tally.Points;
        line.Members += tally.Members;
    }
    line.Score = line.Points * line.Members;
    line.StatedScore = log.Header.ClaimedScore;
    line.Warnings = log.Warnings.size();
    return line;
}

void SortScoreLines(std::vector<TScoreLine>& lines)
{
    std::stable_sort(lines.begin(), lines.end(), [](const TScoreLine& a, const TScoreLine& b) {
        return std::forward_as_tuple(b.Score, a.Station, a.File) < std::forward_as_tuple(a.Score, b.Station, b.File);
    });
}

void WriteScoreTableText(std::ostream& out, const std::vector<TScoreLine>& lines)
{
    struct TRow {
        std::vector<std::string> Cells;
    };
    const std::vector<std::string> headings = {"Station", "QSOs", "Points", "Members", "Score", "Stated", "File"};
    std::vector<TRow> rows;
    rows.reserve(lines.size());
    bool anyDiffers = false;
    for (const TScoreLine& line : lines) {
        anyDiffers = anyDiffers || line.StatedScoreDiffers();
        rows.push_back({{Utf8OfLogText(line.Station), std::to_string(line.Contacts), std::to_string(line.Points),
                         std::to_string(line.Members), std::to_string(line.Score),
                         line.StatedScore ? std::to_string(*line.StatedScore) : std::string("-"),
                         Utf8OfLogText(line.File)}});
    }
    std::vector<std::size_t> widths;
    widths.reserve(headings.size());
    for (const std::string& heading : headings)
        widths.push_back(DisplayWidth(heading));
    for (const TRow& row : rows)
        for (std::size_t at = 0; at < row.Cells.size(); ++at)
            widths[at] = std::max(widths[at], DisplayWidth(row.Cells[at]));

    const auto writeRow = [&](const std::vector<std::string>& cells, bool differs) {
        std::string text = PaddedRight(cells[0], widths[0]);
        for (std::size_t at = 1; at + 1 < cells.size(); ++at)
            text += "  " + PaddedLeft(cells[at], widths[at]);
        text += differs ? " * " : "   ";
        text += cells.back();
        out << text << '\n';
    };
    writeRow(headings, false);
    for (std::size_t at = 0; at < rows.size(); ++at)
        writeRow(rows[at].Cells, lines[at].StatedScoreDiffers());
    if (anyDiffers)
        out << "* the log states another claimed score than the plug-in's rules give\n";
}

void WriteScoreTableCsv(std::ostream& out, const std::vector<TScoreLine>& lines)
{
    out << "station,file,contacts,points,members,score,stated_score,differs,warnings\r\n";
    for (const TScoreLine& line : lines)
        out << CsvCell(Utf8OfLogText(line.Station)) << ',' << CsvCell(Utf8OfLogText(line.File)) << ','
            << line.Contacts << ',' << line.Points << ',' << line.Members << ',' << line.Score << ','
            << (line.StatedScore ? std::to_string(*line.StatedScore) : std::string()) << ','
            << (line.StatedScoreDiffers() ? "yes" : "no") << ',' << line.Warnings << "\r\n";
}

void WriteScoreTableJson(std::ostream& out, const std::vector<TScoreLine>& lines,
                         const std::vector<TUnreadLog>& unreadable)
{
    nlohmann::ordered_json logs = nlohmann::ordered_json::array();
    std::size_t warnings = 0;
    for (const TScoreLine& line : lines) {
        nlohmann::ordered_json entry;
        entry["station"] = Utf8OfLogText(line.Station);
        entry["file"] = Utf8OfLogText(line.File);
        entry["contacts"] = line.Contacts;
        entry["points"] = line.Points;
        entry["members"] = line.Members;
        entry["score"] = line.Score;
        entry["stated_score"] = line.StatedScore ? nlohmann::ordered_json(*line.StatedScore) : nullptr;
        entry["differs"] = line.StatedScoreDiffers();
        entry["warnings"] = line.Warnings;
        warnings += line.Warnings;
        logs.push_back(std::move(entry));
    }
    nlohmann::ordered_json unread = nlohmann::ordered_json::array();
    for (const TUnreadLog& log : unreadable)
        unread.push_back({{"file", Utf8OfLogText(log.File)}, {"error", Utf8OfLogText(log.Error)}});
    nlohmann::ordered_json result;
    result["logs"] = std::move(logs);
    result["warnings"] = warnings;
    result["unreadable"] = std::move(unread);
    out << result.dump(2) << '\n';
}
