#include "support/CabrilloReader.h"

#include <fstream>
#include <sstream>

namespace {

struct TBandEdge {
    long LowKilohertz;
    long HighKilohertz;
    const char* Band;
};

// The amateur HF allocations, wide enough for every region's band plan.
constexpr TBandEdge kBands[] = {
    {1800, 2000, "160"},   {3500, 4000, "80"},    {5250, 5450, "60"},    {7000, 7300, "40"},
    {10100, 10150, "30"},  {14000, 14350, "20"},  {18068, 18168, "17"},  {21000, 21450, "15"},
    {24890, 24990, "12"},  {28000, 29700, "10"},  {50000, 54000, "6"},   {144000, 148000, "2"},
};

std::vector<std::string> Fields(const std::string& line)
{
    std::istringstream words(line);
    std::vector<std::string> fields;
    for (std::string word; words >> word;)
        fields.push_back(word);
    return fields;
}

}  // namespace

std::string BandOfFrequency(std::string_view frequency)
{
    // Above 30 MHz Cabrillo may name the band by its MHz designator instead.
    if (frequency == "50")
        return "6";
    if (frequency == "144")
        return "2";
    long kilohertz = 0;
    for (char c : frequency) {
        if (c < '0' || c > '9')
            return std::string(frequency);
        kilohertz = kilohertz * 10 + (c - '0');
    }
    for (const TBandEdge& band : kBands) {
        if (kilohertz >= band.LowKilohertz && kilohertz <= band.HighKilohertz)
            return band.Band;
    }
    return std::string(frequency);
}

std::vector<TLoggedContact> ReadCabrillo(std::istream& log)
{
    constexpr std::size_t kFrequency = 1;
    constexpr std::size_t kMode = 2;
    constexpr std::size_t kFirstAfterMyCall = 6;

    std::vector<TLoggedContact> contacts;
    for (std::string line; std::getline(log, line);) {
        const std::vector<std::string> fields = Fields(line);
        if (fields.size() <= kFirstAfterMyCall || fields[0] != "QSO:")
            continue;
        // After mycall: n sent fields, the call, n received fields and maybe
        // a transmitter id; integer division drops that id.
        const std::size_t exchangeFields = (fields.size() - kFirstAfterMyCall - 1) / 2;
        const std::size_t call = kFirstAfterMyCall + exchangeFields;
        std::string received;
        for (std::size_t at = call + 1; at <= call + exchangeFields; ++at)
            received += (at == call + 1 ? "" : " ") + fields[at];
        contacts.push_back({fields[call], BandOfFrequency(fields[kFrequency]), fields[kMode], received});
    }
    return contacts;
}

std::vector<TLoggedContact> ReadCabrilloFile(const std::string& path)
{
    std::ifstream log(path);
    if (!log)
        return {};
    return ReadCabrillo(log);
}
