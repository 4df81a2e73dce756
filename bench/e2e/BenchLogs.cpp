#include "BenchLogs.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "support/SyntheticLog.h"

namespace {

struct TCountry {
    std::string_view Prefix;
    std::string_view Continent;
    std::string_view ItuZone;
    std::string_view Entity;
};

// The prefixes the generator uses, with where they are.
constexpr TCountry kCountries[] = {
    {"DL", "EU", "28", "230"}, {"K", "NA", "8", "291"},   {"W", "NA", "8", "291"},   {"N", "NA", "8", "291"},
    {"JA", "AS", "45", "339"}, {"G", "EU", "27", "223"},  {"F", "EU", "27", "227"},  {"I", "EU", "28", "248"},
    {"OH", "EU", "18", "224"}, {"SP", "EU", "28", "269"}, {"VE", "NA", "4", "1"},    {"UA", "EU", "29", "54"},
    {"EA", "EU", "37", "281"}, {"PA", "EU", "27", "263"}, {"ON", "EU", "27", "209"}, {"OK", "EU", "28", "503"},
    {"HA", "EU", "28", "239"}, {"YU", "EU", "28", "296"}, {"LZ", "EU", "28", "212"}, {"VK", "OC", "59", "150"},
};

const TCountry& CountryOf(std::string_view call)
{
    const TCountry* best = &kCountries[0];
    std::size_t bestLength = 0;
    for (const TCountry& country : kCountries)
        if (call.substr(0, country.Prefix.size()) == country.Prefix && country.Prefix.size() > bestLength) {
            best = &country;
            bestLength = country.Prefix.size();
        }
    return *best;
}

// The prefix up to and with the call's first digit ("DL1" of "DL1ABC").
std::string MainPrefixOf(std::string_view call)
{
    const std::size_t digit = call.find_first_of("0123456789");
    return std::string(call.substr(0, digit == std::string_view::npos ? call.size() : digit + 1));
}

std::string AdifField(std::string_view name, const TLogCell& value)
{
    if (!value)
        return {};
    std::string field = "<";
    field.append(name).append(":").append(std::to_string(value->size())).append(">").append(*value).append(" ");
    return field;
}

}  // namespace

std::vector<TLogRow> BenchLog(std::size_t contacts, std::uint32_t startValue)
{
    std::vector<TLogRow> rows;
    rows.reserve(contacts);
    for (const TLoggedContact& contact : SyntheticLog(contacts, startValue)) {
        const TCountry& country = CountryOf(contact.CallSign);
        TLogRow row;
        row[TLogColumn::CallSign] = contact.CallSign;
        row[TLogColumn::DigiBand] = contact.DigiBand;
        row[TLogColumn::QSOMode] = contact.QSOMode;
        row[TLogColumn::QSOReportRecived] = contact.QSOReportRecived;
        row[TLogColumn::Continent] = std::string(country.Continent);
        row[TLogColumn::ITUZone] = std::string(country.ItuZone);
        row[TLogColumn::MainPrefix] = MainPrefixOf(contact.CallSign);
        row[TLogColumn::DXCCPrefix] = std::string(country.Entity);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string AdifOf(const std::vector<TLogRow>& rows)
{
    std::string text = "Generated for the end-to-end benchmark.\n<ADIF_VER:5>3.1.4 <EOH>\n";
    for (const TLogRow& row : rows) {
        // The band goes in as written: the readers keep a band without a
        // metre unit as it is.
        text += AdifField("CALL", row[TLogColumn::CallSign]) + AdifField("BAND", row[TLogColumn::DigiBand]) +
                AdifField("MODE", row[TLogColumn::QSOMode]) + AdifField("SRX_STRING", row[TLogColumn::QSOReportRecived]) +
                AdifField("CONT", row[TLogColumn::Continent]) + AdifField("ITUZ", row[TLogColumn::ITUZone]) +
                AdifField("PFX", row[TLogColumn::MainPrefix]) + AdifField("DXCC", row[TLogColumn::DXCCPrefix]) +
                "<EOR>\n";
    }
    return text;
}

std::string CabrilloOf(const std::vector<TLogRow>& rows, const std::string& myCall)
{
    struct TBandFrequency {
        std::string_view Band;
        std::string_view Kilohertz;
    };
    static constexpr TBandFrequency kFrequencies[] = {{"160", "1830"},  {"80", "3530"},   {"40", "7030"},
                                                      {"20", "14030"}, {"15", "21030"}, {"10", "28030"}};
    std::string text = "START-OF-LOG: 3.0\nCALLSIGN: " + myCall + "\nCONTEST: VELMORA-CUP\n";
    std::size_t minute = 0;
    for (const TLogRow& row : rows) {
        const std::string band = row[TLogColumn::DigiBand].value_or("");
        std::string_view frequency = "14030";
        for (const TBandFrequency& known : kFrequencies)
            if (band == known.Band || band == std::string(known.Band) + "m" || band == std::string(known.Band) + "M")
                frequency = known.Kilohertz;
        // As many sent as received fields, so the call stands in the middle.
        const std::string received = row[TLogColumn::QSOReportRecived].value_or("");
        std::size_t fields = 0;
        bool inWord = false;
        for (const char c : received) {
            fields += !inWord && c != ' ' ? 1 : 0;
            inWord = c != ' ';
        }
        std::string sent;
        for (std::size_t field = 0; field < std::max<std::size_t>(fields, 1); ++field)
            sent += field == 0 ? "599" : " VC1";
        const std::size_t at = minute++;
        char time[5];
        std::snprintf(time, sizeof time, "%02zu%02zu", (at / 60) % 24, at % 60);
        text.append("QSO: ").append(frequency).append(" ").append(row[TLogColumn::QSOMode].value_or("CW"));
        text.append(" 2026-03-01 ").append(time).append(" ").append(myCall).append(" ").append(sent).append(" ");
        text.append(row[TLogColumn::CallSign].value_or("")).append(" ").append(fields == 0 ? "0" : received);
        text.append("\n");
    }
    return text + "END-OF-LOG:\n";
}

std::string Grouped(std::size_t number)
{
    const std::string digits = std::to_string(number);
    std::string grouped;
    for (std::size_t at = 0; at < digits.size(); ++at) {
        if (at > 0 && (digits.size() - at) % 3 == 0)
            grouped += ',';
        grouped += digits[at];
    }
    return grouped;
}
