#include "velmora-check/ReportText.h"

#include <algorithm>
#include <cstdio>

#include "logfiles/TextEncoding.h"

std::string CsvField(std::string_view text)
{
    std::string field;
    AppendCsvField(field, text);
    return field;
}

void AppendCsvField(std::string& out, std::string_view text)
{
    const bool formula = !text.empty() && (text[0] == '=' || text[0] == '+' || text[0] == '-' || text[0] == '@' ||
                                           text[0] == '\t' || text[0] == '\r');
    // One pass over the characters: find_first_of would look each one up
    // in the list of four, and this runs for millions of fields.
    const bool quoted = std::any_of(text.begin(), text.end(), [](char c) {
        return c == ',' || c == '"' || c == '\r' || c == '\n';
    });
    if (!quoted) {
        if (formula)
            out += '\'';
        out.append(text);
        return;
    }
    out += '"';
    if (formula)
        out += '\'';
    for (const char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

std::string HtmlText(std::string_view text)
{
    const std::string utf8 = Utf8OfLogText(text);
    std::string escaped;
    escaped.reserve(utf8.size());
    for (const char c : utf8) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\'': escaped += "&#39;"; break;
        default:
            // Control characters have no place in a page; a blank shows them.
            escaped += static_cast<unsigned char>(c) < 32 && c != '\t' && c != '\n' ? ' ' : c;
        }
    }
    return escaped;
}

std::string FileStemOfCall(std::string_view call)
{
    std::string stem;
    for (const char c : call) {
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
            stem += c;
        else if (c >= 'a' && c <= 'z')
            stem += static_cast<char>(c - 'a' + 'A');
        else
            stem += '-';
    }
    if (stem.size() > 64)
        stem.resize(64);
    return stem.empty() ? "LOG" : stem;
}

double ErrorRate(const TCheckLog& log)
{
    if (log.ClaimedContacts == 0)
        return 0;
    const std::size_t errors = log.VerdictCounts[static_cast<std::size_t>(TVerdict::BustedCall)] +
                               log.VerdictCounts[static_cast<std::size_t>(TVerdict::Nil)] +
                               log.VerdictCounts[static_cast<std::size_t>(TVerdict::BustedExchange)];
    return static_cast<double>(errors) / static_cast<double>(log.ClaimedContacts);
}

std::string ErrorRateText(const TCheckLog& log)
{
    char text[32];
    static_cast<void>(std::snprintf(text, sizeof text, "%.4f", ErrorRate(log)));
    return text;
}

std::int32_t ReportedClockOffset(const TCheckLog& log)
{
    return log.ClockOffset > 1 || log.ClockOffset < -1 ? log.ClockOffset : 0;
}

std::vector<const TCheckLog*> RankedLogs(const TCheckRun& run)
{
    std::vector<const TCheckLog*> ranked;
    ranked.reserve(run.Logs.size());
    for (const TCheckLog& log : run.Logs)
        ranked.push_back(&log);
    std::stable_sort(ranked.begin(), ranked.end(), [](const TCheckLog* a, const TCheckLog* b) {
        if (a->CheckedScore != b->CheckedScore)
            return a->CheckedScore > b->CheckedScore;
        if (a->ClaimedScore != b->ClaimedScore)
            return a->ClaimedScore > b->ClaimedScore;
        return a->StationCall < b->StationCall;
    });
    return ranked;
}

std::string ContactLineText(const TCheckLog& log, const TCheckContact& contact)
{
    std::string line = contact.IsXQso ? "X-QSO:" : "QSO:";
    for (const TTextRef field : {contact.Frequency, contact.Mode, contact.Date, contact.Time, contact.MyCall,
                                 contact.Sent, contact.Call, contact.Received, contact.TransmitterId}) {
        if (field.Size == 0)
            continue;
        line += ' ';
        line.append(log.Text(field));
    }
    return line;
}
