#include "support/SyntheticLog.h"

#include <random>
#include <set>
#include <string>
#include <tuple>

namespace {

// mt19937's sequence is fixed by the standard; the reductions below are our
// own, so no library's distribution can change the log.
class TDice {
public:
    explicit TDice(std::uint32_t startValue) : Generator_(startValue) {}
    std::size_t Below(std::size_t bound) { return Generator_() % bound; }
    bool Percent(std::size_t percent) { return Below(100) < percent; }
    char Letter() { return static_cast<char>('A' + Below(26)); }

private:
    std::mt19937 Generator_;
};

const char* const kPrefixes[] = {"DL", "K",  "W",  "N",  "JA", "G",  "F",  "I",  "OH", "SP",
                                 "VE", "UA", "EA", "PA", "ON", "OK", "HA", "YU", "LZ", "VK"};
const char* const kBands[] = {"160", "80", "40", "20", "15", "10"};
const char* const kModes[] = {"CW", "SSB", "RTTY"};

std::string RandomCall(TDice& dice)
{
    std::string call = kPrefixes[dice.Below(std::size(kPrefixes))];
    call += static_cast<char>('0' + dice.Below(10));
    const std::size_t suffix = 1 + dice.Below(3);
    for (std::size_t letter = 0; letter < suffix; ++letter)
        call += dice.Letter();
    if (dice.Percent(3))
        call += dice.Percent(50) ? "/P" : "/M";
    return call;
}

std::string RandomExchange(TDice& dice, const std::string& mode)
{
    const std::string report = mode == "SSB" ? "59" : (dice.Percent(20) ? "5NN" : "599");
    if (dice.Percent(40))
        return report + " VC" + std::to_string(1 + dice.Below(2000));
    return report + " " + std::to_string(1 + dice.Below(90));
}

}  // namespace

std::vector<TLoggedContact> SyntheticLog(std::size_t contacts, std::uint32_t startValue)
{
    TDice dice(startValue);

    // About four contacts per station: the same stations turn up on several
    // bands and modes, as in a real contest.
    std::vector<std::string> stations;
    std::set<std::string> known;
    const std::size_t stationCount = contacts / 4 + 50;
    while (stations.size() < stationCount) {
        std::string call = RandomCall(dice);
        if (known.insert(call).second)
            stations.push_back(std::move(call));
    }

    std::vector<TLoggedContact> log;
    log.reserve(contacts);
    std::set<std::tuple<std::string, std::string, std::string>> worked;
    while (log.size() < contacts) {
        if (!log.empty() && dice.Percent(5)) {
            TLoggedContact repeat = log[dice.Below(log.size())];
            repeat.QSOReportRecived = RandomExchange(dice, repeat.QSOMode);
            log.push_back(std::move(repeat));
            continue;
        }
        const std::string& call = stations[dice.Below(stations.size())];
        const std::string band = kBands[dice.Below(std::size(kBands))];
        const std::string mode = kModes[dice.Below(std::size(kModes))];
        if (!worked.emplace(call, band, mode).second)
            continue;  // the 5% above are the only duplicates
        log.push_back({call, band, mode, RandomExchange(dice, mode)});
    }
    return log;
}

std::vector<TLoggedContact> WithMemberExchanges(std::vector<TLoggedContact> log, std::uint32_t startValue)
{
    TDice dice(startValue);
    for (TLoggedContact& contact : log) {
        if (dice.Percent(33)) {
            // Few numbers, so the same member turns up on several bands and
            // twice on one band.
            const std::string number = std::to_string(1 + dice.Below(60));
            switch (dice.Below(4)) {
            case 0: contact.QSOReportRecived += " VC" + number; break;
            case 1: contact.QSOReportRecived = "vc" + number + " "; break;
            case 2: contact.QSOReportRecived = " Vc" + number + "34"; break;
            default: contact.QSOReportRecived = "xVC0" + number + " 599"; break;
            }
        }
        if (dice.Percent(10))
            contact.DigiBand += dice.Percent(50) ? "m" : "M";
        if (dice.Percent(3)) {
            for (char& c : contact.CallSign)
                c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
        }
    }
    return log;
}
