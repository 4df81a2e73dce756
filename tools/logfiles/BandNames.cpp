#include "logfiles/BandNames.h"

#include <array>
#include <cstddef>

#include "logfiles/AsciiText.h"

namespace {

struct TBand {
    const char* Name;
    // Edges in kilohertz, both inside the band; wide enough for every
    // region's band plan.
    double LowKilohertz;
    double HighKilohertz;
};

constexpr std::array<TBand, 33> kBands = {{
    {"2190", 135.7, 137.8},       {"630", 472, 479},
    {"560", 501, 504},            {"160", 1800, 2000},
    {"80", 3500, 4000},           {"60", 5060, 5450},
    {"40", 7000, 7300},           {"30", 10100, 10150},
    {"20", 14000, 14350},         {"17", 18068, 18168},
    {"15", 21000, 21450},         {"12", 24890, 24990},
    {"10", 28000, 29700},         {"8", 40000, 45000},
    {"6", 50000, 54000},          {"5", 54000.001, 69900},
    {"4", 70000, 71000},          {"2", 144000, 148000},
    {"1.25", 222000, 225000},     {"70cm", 420000, 450000},
    {"33cm", 902000, 928000},     {"23cm", 1240000, 1300000},
    {"13cm", 2300000, 2450000},   {"9cm", 3300000, 3500000},
    {"6cm", 5650000, 5925000},    {"3cm", 10000000, 10500000},
    {"1.25cm", 24000000, 24250000}, {"6mm", 47000000, 47200000},
    {"4mm", 75500000, 81000000},  {"2.5mm", 119980000, 123000000},
    {"2mm", 134000000, 149000000}, {"1mm", 241000000, 250000000},
    {"submm", 300000000, 7.5e12},
}};

// Cabrillo's designators for the bands from 6 m up, where the frequency
// field may name the band instead of the frequency.
struct TDesignator {
    std::string_view Designator;
    const char* Band;
};

constexpr std::array<TDesignator, 18> kDesignators = {{
    {"50", "6"},       {"70", "4"},       {"144", "2"},      {"222", "1.25"},  {"432", "70cm"},
    {"902", "33cm"},   {"1.2G", "23cm"},  {"2.3G", "13cm"},  {"3.4G", "9cm"},  {"5.7G", "6cm"},
    {"10G", "3cm"},    {"24G", "1.25cm"}, {"47G", "6mm"},    {"75G", "4mm"},   {"122G", "2.5mm"},
    {"134G", "2mm"},   {"241G", "1mm"},   {"LIGHT", "submm"},
}};

std::string_view TrimBlanks(std::string_view text)
{
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A plain decimal number: digits with at most one point, at least one digit,
// nothing else. Parsed by hand so that no locale or exponent gets in.
std::optional<double> DecimalNumber(std::string_view text)
{
    if (text.empty() || text.size() > 24)
        return std::nullopt;
    double whole = 0;
    double scale = 1;
    bool seenPoint = false;
    bool seenDigit = false;
    for (const char c : text) {
        if (c == '.') {
            if (seenPoint)
                return std::nullopt;
            seenPoint = true;
        } else if (c >= '0' && c <= '9') {
            seenDigit = true;
            if (seenPoint) {
                scale /= 10;
                whole += (c - '0') * scale;
            } else {
                whole = whole * 10 + (c - '0');
            }
        } else {
            return std::nullopt;
        }
    }
    return seenDigit ? std::optional<double>(whole) : std::nullopt;
}

// "20" with the unit split off: the number's text and the unit's.
std::pair<std::string_view, std::string_view> SplitUnit(std::string_view text)
{
    std::size_t end = 0;
    while (end < text.size() && ((text[end] >= '0' && text[end] <= '9') || text[end] == '.'))
        ++end;
    return {text.substr(0, end), TrimBlanks(text.substr(end))};
}

}  // namespace

std::optional<std::string> BandOfKilohertz(double kilohertz)
{
    for (const TBand& band : kBands)
        if (kilohertz >= band.LowKilohertz && kilohertz <= band.HighKilohertz)
            return std::string(band.Name);
    return std::nullopt;
}

std::optional<std::string> BandOfMegahertz(std::string_view megahertz)
{
    const std::optional<double> value = DecimalNumber(TrimBlanks(megahertz));
    return value ? BandOfKilohertz(*value * 1000) : std::nullopt;
}

std::size_t BandRank(std::string_view text)
{
    const std::optional<std::string> name = KnownBandName(text);
    for (std::size_t rank = 0; rank < kBands.size(); ++rank)
        if (name && *name == kBands[rank].Name)
            return rank;
    return kBands.size();
}

std::optional<std::string> KnownBandName(std::string_view text)
{
    text = TrimBlanks(text);
    for (const TBand& band : kBands)
        if (SameLettersIgnoringCase(text, band.Name))
            return std::string(band.Name);
    if (SameLettersIgnoringCase(text, "submm"))
        return std::string("submm");

    const auto [number, unit] = SplitUnit(text);
    const std::optional<double> value = DecimalNumber(number);
    if (!value || unit.empty())
        return std::nullopt;
    if (SameLettersIgnoringCase(unit, "m") || SameLettersIgnoringCase(unit, "cm") ||
        SameLettersIgnoringCase(unit, "mm")) {
        // A wavelength: the band whose name is this number with this unit
        // (metres are named without theirs).
        std::string name(number);
        if (!SameLettersIgnoringCase(unit, "m"))
            name += SameLettersIgnoringCase(unit, "cm") ? "cm" : "mm";
        for (const TBand& band : kBands)
            if (name == band.Name)
                return name;
        return std::nullopt;
    }
    if (SameLettersIgnoringCase(unit, "khz"))
        return BandOfKilohertz(*value);
    if (SameLettersIgnoringCase(unit, "mhz"))
        return BandOfKilohertz(*value * 1e3);
    if (SameLettersIgnoringCase(unit, "ghz"))
        return BandOfKilohertz(*value * 1e6);
    return std::nullopt;
}

std::string NormaliseBandName(std::string_view text)
{
    std::optional<std::string> known = KnownBandName(text);
    return known ? std::move(*known) : std::string(TrimBlanks(text));
}

std::optional<std::string> BandOfCabrilloFrequency(std::string_view field)
{
    field = TrimBlanks(field);
    for (const TDesignator& designator : kDesignators)
        if (SameLettersIgnoringCase(field, designator.Designator))
            return std::string(designator.Band);
    const std::optional<double> kilohertz = DecimalNumber(field);
    return kilohertz ? BandOfKilohertz(*kilohertz) : std::nullopt;
}
