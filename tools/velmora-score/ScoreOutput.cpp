#include "velmora-score/ScoreOutput.h"

#include <cstddef>
#include <nlohmann/json.hpp>

#include "logfiles/TextEncoding.h"

namespace {

std::string Hex2(unsigned char byte)
{
    static const char digits[] = "0123456789ABCDEF";
    return {digits[byte >> 4], digits[byte & 15]};
}

std::string JsonCell(const TLogCell& cell) { return cell ? JsonString(*cell) : "null"; }

struct TTotals {
    // 64 bits: the report's own totals never wrap, and neither do these.
    long long QSOs = 0;
    long long Points = 0;
    long long Members = 0;
};

TTotals TotalsOf(const std::vector<TStatistic>& statList)
{
    TTotals totals;
    for (const TStatistic& tally : statList) {
        totals.QSOs += tally.QSOs;
        totals.Points += tally.Points;
        totals.Members += tally.Members;
    }
    return totals;
}

}  // namespace

std::string EscapedField(std::string_view text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\')
            escaped += "\\\\";
        else if (byte < 32 || byte == 127)
            escaped += "\\x" + Hex2(byte);
        else
            escaped += c;
    }
    return escaped;
}

std::string JsonString(std::string_view text) { return nlohmann::json(Utf8OfLogText(text)).dump(); }

void WriteTextResult(std::ostream& out, const std::vector<TLogRow>& rows, const TScoredLog& scored)
{
    out << scored.Report << '\n';
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const TContactVerdict& verdict = scored.Verdicts[row];
        const auto field = [&](TLogColumn column) { return EscapedField(rows[row][column].value_or("")); };
        out << row + 1 << '\t' << field(TLogColumn::CallSign) << '\t' << field(TLogColumn::DigiBand) << '\t'
            << field(TLogColumn::QSOMode) << '\t'
            << (verdict.Result < 0 ? std::string("duplicate") : std::to_string(verdict.Result)) << '\t'
            << verdict.Member << '\n';
    }
}

void WriteJsonResult(std::ostream& out, const std::vector<TLogRow>& rows, const TScoredLog& scored,
                     std::size_t warnings)
{
    const TTotals totals = TotalsOf(scored.StatList);
    out << "{\n  \"report\": " << JsonString(scored.Report) << ",\n  \"bands\": [";
    for (std::size_t at = 0; at < scored.StatList.size(); ++at) {
        const TStatistic& tally = scored.StatList[at];
        out << (at == 0 ? "\n" : ",\n") << "    {\"band\": " << JsonString(tally.Band) << ", \"qsos\": " << tally.QSOs
            << ", \"points\": " << tally.Points << ", \"members\": " << tally.Members << "}";
    }
    out << (scored.StatList.empty() ? "" : "\n  ") << "],\n";
    out << "  \"totals\": {\"qsos\": " << totals.QSOs << ", \"points\": " << totals.Points
        << ", \"members\": " << totals.Members << "},\n";
    out << "  \"score\": " << totals.Points * totals.Members << ",\n  \"warnings\": " << warnings
        << ",\n  \"contacts\": [";
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const TContactVerdict& verdict = scored.Verdicts[row];
        const TLogRow& contact = rows[row];
        out << (row == 0 ? "\n" : ",\n") << "    {\"row\": " << row + 1
            << ", \"call\": " << JsonCell(contact[TLogColumn::CallSign])
            << ", \"band\": " << JsonCell(contact[TLogColumn::DigiBand])
            << ", \"mode\": " << JsonCell(contact[TLogColumn::QSOMode])
            << ", \"exchange\": " << JsonCell(contact[TLogColumn::QSOReportRecived])
            << ", \"duplicate\": " << (verdict.Result < 0 ? "true" : "false")
            << ", \"points\": " << (verdict.Result < 0 ? 0 : verdict.Result)
            << ", \"member\": " << (verdict.Member.empty() ? "null" : JsonString(verdict.Member)) << "}";
    }
    out << (rows.empty() ? "" : "\n  ") << "]\n}\n";
}
