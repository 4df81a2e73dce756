#include "contest-sim/SimCalls.h"
#include "contest-sim/SimContest.h"
#include "contest-sim/SimRandom.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <numeric>
#include <unordered_map>
#include <unordered_set>

namespace {

// Contacts are drawn this far inside the period, so that no clock error (at
// most an hour) and no rounding moves a contact across its edge: whether a
// line is inside the period never depends on how a checker treats clocks.
constexpr TMinute kEdgeMargin = 70;
constexpr int kComboCount = kSimBandCount * 3;

struct TFrequencySegment {
    int Low;
    int High;
};

// kHz, per band and mode: CW at the bottom, digital above it, phone on top.
constexpr TFrequencySegment kSegments[kSimBandCount][3] = {
    {{1810, 1838}, {1840, 1990}, {1838, 1842}},
    {{3500, 3570}, {3600, 3790}, {3570, 3600}},
    {{7000, 7040}, {7060, 7190}, {7040, 7060}},
    {{14000, 14060}, {14150, 14340}, {14070, 14099}},
    {{21000, 21070}, {21150, 21440}, {21070, 21110}},
    {{28000, 28070}, {28300, 28690}, {28070, 28150}},
};

std::uint64_t PairKey(std::uint32_t a, std::uint32_t b)
{
    return a < b ? (std::uint64_t{a} << 32) | b : (std::uint64_t{b} << 32) | a;
}

// Picks from a set of stations in proportion to their activity.
class TActivityDraw {
public:
    void Add(std::uint32_t station, double activity)
    {
        Total += activity;
        Stations.push_back(station);
        Cumulative.push_back(Total);
    }
    bool Empty() const { return Stations.empty(); }
    std::uint32_t Draw(TSimRandom& random) const
    {
        const double target = random.Fraction() * Total;
        const auto at = std::upper_bound(Cumulative.begin(), Cumulative.end(), target) - Cumulative.begin();
        return Stations[std::min<std::size_t>(static_cast<std::size_t>(at), Stations.size() - 1)];
    }

private:
    std::vector<std::uint32_t> Stations;
    std::vector<double> Cumulative;
    double Total = 0;
};

class TContestBuilder {
public:
    TContestBuilder(const TSimOptions& options) : Options(options), Random(options.RandomStart) {}

    TSimContest Build()
    {
        Contest.Options = Options;
        MakeStations();
        MakeContacts();
        AssignSerials();
        MiscopyExchanges();
        WriteLogs();
        return std::move(Contest);
    }

private:
    // True when `call` is taken, or one slip from a station other than `allowed`.
    bool Clashes(const std::string& call, const std::string& allowed = {}) const
    {
        if (Calls.count(call) != 0 || UsedInventedCalls.count(call) != 0)
            return true;
        for (const std::string& slip : SlipsOf(call)) {
            if (slip != allowed && Calls.count(slip) != 0)
                return true;
        }
        return false;
    }

    std::string FreshCall()
    {
        for (;;) {
            std::string call = RandomCall(Random);
            if (!Clashes(call))
                return call;
        }
    }

    void MakeStations()
    {
        const int silent = Options.SilentStations < 0 ? Options.Logs / 2 : Options.SilentStations;
        const std::size_t total = static_cast<std::size_t>(Options.Logs) + static_cast<std::size_t>(silent);
        std::vector<TSimStation>& stations = Contest.Stations;
        stations.resize(total);
        for (TSimStation& station : stations) {
            station.Call = FreshCall();
            Calls.insert(station.Call);
        }

        std::vector<std::uint32_t> order(total);
        std::iota(order.begin(), order.end(), 0u);
        Shuffle(order);
        for (int i = 0; i < Options.Logs; ++i)
            stations[order[static_cast<std::size_t>(i)]].Submits = true;

        // Pairs of stations whose calls are one slip apart: the second call is
        // replaced by a slip of the first that is near no other station.
        const std::size_t pairs = static_cast<std::size_t>(std::lround(Options.NeighbourShare * static_cast<double>(total)));
        for (std::size_t k = 0; k < pairs && total >= 2; ++k) {
            const std::uint32_t first = static_cast<std::uint32_t>(Random.Below(total));
            const std::uint32_t second = static_cast<std::uint32_t>(Random.Below(total));
            if (first == second || stations[first].Neighbour >= 0 || stations[second].Neighbour >= 0)
                continue;
            Calls.erase(stations[second].Call);
            bool placed = false;
            for (int attempt = 0; attempt < 50 && !placed; ++attempt) {
                std::string slip = RandomSlip(stations[first].Call, Random);
                if (!Clashes(slip, stations[first].Call)) {
                    stations[second].Call = std::move(slip);
                    stations[first].Neighbour = static_cast<int>(second);
                    stations[second].Neighbour = static_cast<int>(first);
                    placed = true;
                }
            }
            Calls.insert(stations[second].Call);
        }

        // Members: never one of a neighbour pair, so that a call heard for
        // its neighbour is never judged by a member number.
        std::vector<std::uint32_t> candidates;
        for (std::uint32_t i = 0; i < total; ++i)
            if (stations[i].Neighbour < 0)
                candidates.push_back(i);
        Shuffle(candidates);
        std::vector<int> numbers(999);
        std::iota(numbers.begin(), numbers.end(), 1);
        Shuffle(numbers);
        const std::size_t members = std::min<std::size_t>(
            {static_cast<std::size_t>(std::lround(Options.MemberShare * static_cast<double>(total))), numbers.size(),
             candidates.size()});
        for (std::size_t i = 0; i < members; ++i)
            stations[candidates[i]].Member = numbers[i];

        for (TSimStation& station : stations) {
            if (station.Submits) {
                station.Activity = std::exp(0.9 * Random.Normal());
                if (Random.Chance(Options.ClockOffRate)) {
                    const int minutes = static_cast<int>(Random.Between(3, 60));
                    station.ClockOffset = Random.Chance(0.5) ? minutes : -minutes;
                }
            } else {
                station.Activity = 0.35 * std::exp(0.7 * Random.Normal());
            }
            if (Random.Chance(0.2))
                station.PhoneMode = "SSB";
            if (Random.Chance(0.3))
                station.DigitalMode = "DG";
        }

        const std::int64_t wanted = TargetLines();
        // At most a third of the silent stations, so that most of them are
        // heard by several logs, as busy stations that send no log are.
        std::size_t silentOutsidePairs = 0;
        for (const TSimStation& station : stations)
            silentOutsidePairs += !station.Submits && station.Neighbour < 0;
        std::size_t oneTimers = std::min<std::size_t>(
            static_cast<std::size_t>(std::lround(Options.OneTimerRate * static_cast<double>(wanted))), silentOutsidePairs / 3);
        for (std::uint32_t i : order) {
            if (oneTimers == 0)
                break;
            if (!stations[i].Submits && stations[i].Neighbour < 0) {
                stations[i].OneTimer = true;
                --oneTimers;
            }
        }
        for (std::uint32_t i = 0; i < total; ++i) {
            if (!stations[i].OneTimer)
                Everyone.Add(i, stations[i].Activity);
            if (stations[i].Submits)
                Submitters.Add(i, stations[i].Activity);
        }
    }

    std::int64_t TargetLines() const { return Options.Contacts > 0 ? Options.Contacts : 150LL * Options.Logs; }

    template <typename T>
    void Shuffle(std::vector<T>& items)
    {
        for (std::size_t i = items.size(); i > 1; --i)
            std::swap(items[i - 1], items[Random.Below(i)]);
    }

    bool Submits(std::uint32_t station) const { return Contest.Stations[station].Submits; }

    bool Worked(std::uint32_t a, std::uint32_t b) const { return PairCombos.count(PairKey(a, b)) != 0; }

    // Nobody works both stations of a neighbour pair: a contact logged under
    // either call can then only be what it looks like, or a slip.
    bool BreaksNeighbourRule(std::uint32_t a, std::uint32_t b) const
    {
        const int neighbourOfB = Contest.Stations[b].Neighbour;
        const int neighbourOfA = Contest.Stations[a].Neighbour;
        return (neighbourOfB >= 0 && Worked(a, static_cast<std::uint32_t>(neighbourOfB))) ||
               (neighbourOfA >= 0 && Worked(static_cast<std::uint32_t>(neighbourOfA), b));
    }

    int DrawCombo(std::uint32_t used)
    {
        // 20 and 40 metres carry most contacts; 160 and 10 the fewest.
        static constexpr int kBandWeights[kSimBandCount] = {8, 16, 24, 26, 16, 10};
        for (int attempt = 0; attempt < 8; ++attempt) {
            int pick = static_cast<int>(Random.Below(100));
            int band = 0;
            while (pick >= kBandWeights[band]) {
                pick -= kBandWeights[band];
                ++band;
            }
            const std::uint64_t modeDraw = Random.Below(100);
            const int mode = modeDraw < 45 ? 0 : (modeDraw < 85 ? 1 : 2);
            const int combo = band * 3 + mode;
            if ((used & (1u << combo)) == 0)
                return combo;
        }
        const int start = static_cast<int>(Random.Below(kComboCount));
        for (int i = 0; i < kComboCount; ++i) {
            const int combo = (start + i) % kComboCount;
            if ((used & (1u << combo)) == 0)
                return combo;
        }
        return -1;
    }

    TMinute InPeriodMinute() { return Random.Between(Options.From + kEdgeMargin, Options.To - kEdgeMargin - 1); }

    void AddContact(TSimContact contact)
    {
        std::int64_t lines = 0;
        for (int side = 0; side < 2; ++side) {
            const bool notLogged = contact.Fault == TSimFault::NotLogged && contact.FaultSide == side;
            if (Submits(contact.Station[side]) && !notLogged)
                ++lines;
        }
        Lines += lines;
        Contest.Contacts.push_back(std::move(contact));
    }

    // The call the faulty side logs instead of the other's: the other's
    // neighbour now and then, else an invented slip near no other station.
    // Empty when no such call can be found.
    std::string MissedCall(std::uint32_t logger, std::uint32_t partner)
    {
        const TSimStation& heard = Contest.Stations[partner];
        const int neighbour = heard.Neighbour;
        // A neighbour taken for a station that sent a log must have sent one
        // too, or whether the neighbour "appears in other logs" would depend
        // on whether a checker counts lines it judged miscopied.
        if (neighbour >= 0 && static_cast<std::uint32_t>(neighbour) != logger &&
            Contest.Stations[logger].Neighbour < 0 && (!heard.Submits || Submits(static_cast<std::uint32_t>(neighbour))) &&
            Random.Chance(0.5))
            return Contest.Stations[static_cast<std::size_t>(neighbour)].Call;
        for (int attempt = 0; attempt < 30; ++attempt) {
            std::string slip = RandomSlip(heard.Call, Random);
            if (!Clashes(slip, heard.Call)) {
                UsedInventedCalls.insert(slip);
                return slip;
            }
        }
        return {};
    }

    std::uint8_t LoggingSide(const TSimContact& contact)
    {
        const bool first = Submits(contact.Station[0]);
        const bool second = Submits(contact.Station[1]);
        if (first && second)
            return static_cast<std::uint8_t>(Random.Below(2));
        return first ? 0 : 1;
    }

    void MakeContacts()
    {
        const std::vector<TSimStation>& stations = Contest.Stations;
        if (Submitters.Empty())
            return;
        for (std::uint32_t i = 0; i < stations.size(); ++i) {
            if (!stations[i].OneTimer)
                continue;
            TSimContact contact;
            contact.Station[0] = Submitters.Draw(Random);
            contact.Station[1] = i;
            const int combo = DrawCombo(0);
            contact.Band = static_cast<std::uint8_t>(combo / 3);
            contact.Mode = static_cast<TSimMode>(combo % 3);
            contact.Minute = InPeriodMinute();
            PairCombos[PairKey(contact.Station[0], i)] |= 1u << combo;
            AddContact(std::move(contact));
        }

        const std::int64_t wanted = TargetLines();
        std::int64_t misses = 0;
        while (Lines < wanted && misses < 1000000) {
            const std::uint32_t a = Everyone.Draw(Random);
            const std::uint32_t b = Everyone.Draw(Random);
            if (a == b || (!Submits(a) && !Submits(b)) || BreaksNeighbourRule(a, b)) {
                ++misses;
                continue;
            }
            std::uint32_t& used = PairCombos[PairKey(a, b)];
            const int combo = DrawCombo(used);
            if (combo < 0) {
                ++misses;
                continue;
            }
            used |= 1u << combo;

            TSimContact contact;
            contact.Station[0] = a;
            contact.Station[1] = b;
            contact.Band = static_cast<std::uint8_t>(combo / 3);
            contact.Mode = static_cast<TSimMode>(combo % 3);
            contact.Minute = InPeriodMinute();

            const bool bothLog = Submits(a) && Submits(b);
            // One draw picks at most one fault; a fault the contact cannot
            // have (nobody to miss logging it) leaves it clean.
            double draw = Random.Fraction();
            const auto drawn = [&draw](double rate) {
                const bool hit = draw >= 0 && draw < rate;
                draw -= rate;
                return hit;
            };
            if (drawn(Options.OutOfPeriodRate)) {
                if (bothLog) {
                    contact.Fault = TSimFault::OutOfPeriod;
                    contact.Minute = Random.Chance(0.5) ? Options.From - Random.Between(120, 360)
                                                        : Options.To + Random.Between(120, 360);
                }
            } else if (drawn(Options.DupeRate)) {
                // Half the duplicates are one contact entered twice: the
                // other log's line could then match either entry.
                if (Random.Chance(0.5)) {
                    contact.Fault = TSimFault::LoggedTwice;
                    contact.FaultSide = LoggingSide(contact);
                    AddContact(std::move(contact));
                    ++Lines;
                    continue;
                }
                TSimContact repeat = contact;
                const TMinute gap = Random.Between(90, 300);
                if (contact.Minute + gap < Options.To - kEdgeMargin) {
                    repeat.Minute = contact.Minute + gap;
                } else if (contact.Minute - gap >= Options.From + kEdgeMargin) {
                    repeat.Minute = contact.Minute;
                    contact.Minute -= gap;
                }
                if (repeat.Minute != contact.Minute) {
                    contact.Fault = TSimFault::FirstOfDupe;
                    repeat.Fault = TSimFault::RepeatOfDupe;
                    AddContact(std::move(contact));
                    AddContact(std::move(repeat));
                    continue;
                }
            } else if (drawn(Options.NotLoggedRate)) {
                if (bothLog) {
                    contact.Fault = TSimFault::NotLogged;
                    contact.FaultSide = static_cast<std::uint8_t>(Random.Below(2));
                }
            } else if (drawn(Options.MissedCallRate)) {
                contact.FaultSide = LoggingSide(contact);
                contact.LoggedCall =
                    MissedCall(contact.Station[contact.FaultSide], contact.Station[1 - contact.FaultSide]);
                if (!contact.LoggedCall.empty())
                    contact.Fault = TSimFault::MissedCall;
            } else if (drawn(Options.MissedExchangeRate)) {
                contact.Fault = TSimFault::MissedExchange;
                contact.FaultSide = LoggingSide(contact);
            }
            AddContact(std::move(contact));
        }
    }

    void AssignSerials()
    {
        const std::vector<TSimStation>& stations = Contest.Stations;
        std::vector<std::vector<std::uint64_t>> sent(stations.size());
        for (std::uint32_t c = 0; c < Contest.Contacts.size(); ++c)
            for (std::uint32_t side = 0; side < 2; ++side)
                if (stations[Contest.Contacts[c].Station[side]].Member == 0)
                    sent[Contest.Contacts[c].Station[side]].push_back(std::uint64_t{c} * 2 + side);
        for (std::vector<std::uint64_t>& contacts : sent) {
            std::sort(contacts.begin(), contacts.end(), [this](std::uint64_t x, std::uint64_t y) {
                const TMinute a = Contest.Contacts[x / 2].Minute;
                const TMinute b = Contest.Contacts[y / 2].Minute;
                return a != b ? a < b : x < y;
            });
            std::uint32_t serial = 0;
            for (std::uint64_t slot : contacts)
                Contest.Contacts[slot / 2].Serial[slot % 2] = ++serial;
        }
    }

    std::string ExchangeSent(const TSimContact& contact, int side) const
    {
        const TSimStation& station = Contest.Stations[contact.Station[side]];
        if (station.Member != 0)
            return "VC" + std::to_string(station.Member);
        char serial[16];
        (void)std::snprintf(serial, sizeof serial, "%03u", contact.Serial[side]);
        return serial;
    }

    // A miscopy that keeps the form: a member number stays "VC" and one to
    // three digits without a leading zero, a serial keeps its length.
    std::string Miscopy(const std::string& exchange)
    {
        const bool member = exchange.rfind("VC", 0) == 0;
        const std::size_t first = member ? 2 : 0;
        for (;;) {
            std::string copy = exchange;
            const std::size_t digits = copy.size() - first;
            const std::size_t at = first + Random.Below(digits);
            const std::uint64_t kind = member ? Random.Below(3) : 0;
            if (kind == 0)
                copy[at] = static_cast<char>('0' + Random.Below(10));
            else if (kind == 1 && digits > 1)
                copy.erase(at, 1);
            else if (kind == 2 && digits < 3)
                copy.insert(copy.begin() + static_cast<std::ptrdiff_t>(at), static_cast<char>('1' + Random.Below(9)));
            if (copy != exchange && !(member && copy[2] == '0'))
                return copy;
        }
    }

    void MiscopyExchanges()
    {
        for (TSimContact& contact : Contest.Contacts)
            if (contact.Fault == TSimFault::MissedExchange)
                contact.LoggedExchange = Miscopy(ExchangeSent(contact, 1 - contact.FaultSide));
    }

    int Frequency(int band, TSimMode mode)
    {
        const TFrequencySegment& segment = kSegments[band][static_cast<int>(mode)];
        return static_cast<int>(Random.Between(segment.Low, segment.High));
    }

    void WriteLogs()
    {
        const std::vector<TSimStation>& stations = Contest.Stations;
        std::vector<int> logOf(stations.size(), -1);
        for (std::uint32_t i = 0; i < stations.size(); ++i) {
            if (!stations[i].Submits)
                continue;
            logOf[i] = static_cast<int>(Contest.Logs.size());
            TSimLog& log = Contest.Logs.emplace_back();
            log.Station = i;
            log.Category = Random.Chance(0.15) ? "MULTI-OP" : "SINGLE-OP";
            log.CrLf = Random.Chance(0.25);
        }
        for (std::uint32_t c = 0; c < Contest.Contacts.size(); ++c) {
            const TSimContact& contact = Contest.Contacts[c];
            for (std::uint8_t side = 0; side < 2; ++side) {
                const TSimStation& station = stations[contact.Station[side]];
                const bool faulty = contact.FaultSide == side;
                if (!station.Submits || (contact.Fault == TSimFault::NotLogged && faulty))
                    continue;
                TSimEntry entry;
                entry.Contact = c;
                entry.Side = side;
                entry.Band = contact.Band;
                entry.Mode = contact.Mode;
                const std::uint64_t jitter = Random.Below(10);
                entry.LoggedMinute = contact.Minute + station.ClockOffset + (jitter == 0 ? -1 : (jitter == 1 ? 1 : 0));
                entry.FrequencyKHz = Frequency(contact.Band, contact.Mode);
                entry.Call = contact.Fault == TSimFault::MissedCall && faulty ? contact.LoggedCall
                                                                              : stations[contact.Station[1 - side]].Call;
                entry.SentExchange = ExchangeSent(contact, side);
                entry.ReceivedExchange = contact.Fault == TSimFault::MissedExchange && faulty
                                             ? contact.LoggedExchange
                                             : ExchangeSent(contact, 1 - side);
                TSimLog& log = Contest.Logs[static_cast<std::size_t>(logOf[contact.Station[side]])];
                const bool markedByEntrant = Random.Chance(Options.XQsoRate);
                if (contact.Fault == TSimFault::LoggedTwice && faulty) {
                    TSimEntry again = entry;
                    again.LoggedMinute += Random.Between(0, 3);
                    log.Entries.push_back(std::move(entry));
                    log.Entries.push_back(std::move(again));
                } else {
                    log.Entries.push_back(std::move(entry));
                }
                if (markedByEntrant)
                    log.Entries.push_back(XQsoEntry(log.Station));
            }
        }
        for (TSimLog& log : Contest.Logs) {
            std::stable_sort(log.Entries.begin(), log.Entries.end(), [](const TSimEntry& a, const TSimEntry& b) {
                return a.LoggedMinute < b.LoggedMinute;
            });
            log.HeaderLines = 9;
            for (std::size_t i = 0; i < log.Entries.size(); ++i)
                log.Entries[i].Line = log.HeaderLines + 1 + i;
        }
    }

    // A line the entrant marked as not to be counted, with a call heard
    // nowhere else, so that it bears on no other verdict.
    TSimEntry XQsoEntry(std::uint32_t station)
    {
        TSimEntry entry;
        entry.XQso = true;
        const int combo = DrawCombo(0);
        entry.Band = static_cast<std::uint8_t>(combo / 3);
        entry.Mode = static_cast<TSimMode>(combo % 3);
        entry.LoggedMinute = InPeriodMinute() + Contest.Stations[station].ClockOffset;
        entry.FrequencyKHz = Frequency(entry.Band, entry.Mode);
        entry.Call = FreshCall();
        UsedInventedCalls.insert(entry.Call);
        const TSimStation& self = Contest.Stations[station];
        entry.SentExchange = self.Member != 0 ? "VC" + std::to_string(self.Member) : "001";
        entry.ReceivedExchange = std::to_string(Random.Between(100, 999));
        return entry;
    }

    TSimOptions Options;
    TSimRandom Random;
    TSimContest Contest;
    std::unordered_set<std::string> Calls;
    std::unordered_set<std::string> UsedInventedCalls;
    std::unordered_map<std::uint64_t, std::uint32_t> PairCombos;
    TActivityDraw Everyone;
    TActivityDraw Submitters;
    std::int64_t Lines = 0;
};

}  // namespace

TSimContest GenerateContest(const TSimOptions& options)
{
    return TContestBuilder(options).Build();
}

const std::string& ModeText(const TSimStation& station, TSimMode mode)
{
    static const std::string cw = "CW";
    return mode == TSimMode::Cw ? cw : (mode == TSimMode::Phone ? station.PhoneMode : station.DigitalMode);
}

const char* ReportOf(TSimMode mode)
{
    return mode == TSimMode::Phone ? "59" : "599";
}

namespace {

// Days since 1970-01-01 of a civil date (proleptic Gregorian calendar).
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day)
{
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

}  // namespace

std::string MinuteText(TMinute minute)
{
    std::int64_t days = minute / 1440;
    std::int64_t rest = minute % 1440;
    if (rest < 0) {
        rest += 1440;
        --days;
    }
    // Civil date from days (the inverse of DaysFromCivil).
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned monthIndex = (5 * dayOfYear + 2) / 153;
    const unsigned day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const unsigned month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    const std::int64_t year = static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2);
    char text[64];
    (void)std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02lld:%02lldZ", static_cast<long long>(year), month, day,
                  static_cast<long long>(rest / 60), static_cast<long long>(rest % 60));
    return text;
}

bool ParseMinute(const std::string& text, TMinute& minute)
{
    // YYYY-MM-DDTHH:MM, then a Z or nothing.
    static constexpr std::string_view kShape = "dddd-dd-ddTdd:dd";
    if (text.size() != kShape.size() && !(text.size() == kShape.size() + 1 && text.back() == 'Z'))
        return false;
    for (std::size_t i = 0; i < kShape.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (kShape[i] == 'd' ? !digit : text[i] != kShape[i])
            return false;
    }
    const auto number = [&text](std::size_t at, std::size_t length) {
        unsigned value = 0;
        for (std::size_t i = at; i < at + length; ++i)
            value = value * 10 + static_cast<unsigned>(text[i] - '0');
        return value;
    };
    const unsigned month = number(5, 2), day = number(8, 2), hour = number(11, 2), minutes = number(14, 2);
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minutes > 59)
        return false;
    minute = DaysFromCivil(number(0, 4), month, day) * 1440 + TMinute{hour} * 60 + TMinute{minutes};
    return true;
}
