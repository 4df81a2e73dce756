#include "velmora-check/Normalise.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <vector>

#include "scoring/TextRules.h"
#include "velmora-check/ParallelLogs.h"

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool AllDigits(std::string_view text)
{
    if (text.empty())
        return false;
    for (const char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

std::optional<int> Number(std::string_view text)
{
    if (!AllDigits(text))
        return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
std::int64_t DaysFromCivil(int year, int month, int day)
{
    year -= month <= 2 ? 1 : 0;
    const int era = (year >= 0 ? year : year - 399) / 400;
    const int yearOfEra = year - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return static_cast<std::int64_t>(era) * 146097 + dayOfEra - 719468;
}

void CivilFromDays(std::int64_t days, int& year, int& month, int& day)
{
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<int>(days - era * 146097);
    const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int monthIndex = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    year = static_cast<int>(yearOfEra + era * 400) + (month <= 2 ? 1 : 0);
}

int DaysInMonth(int year, int month)
{
    static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

std::optional<std::int32_t> MinuteOfParts(int year, int month, int day, int hour, int minute)
{
    // Minutes in 32 bits reach the year 6053; contests stay well inside.
    if (year < 1970 || year > 5000 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
        hour < 0 || hour > 23 || minute < 0 || minute > 59)
        return std::nullopt;
    return static_cast<std::int32_t>(DaysFromCivil(year, month, day) * 1440 + std::int64_t{hour} * 60 + minute);
}

bool IsSignalReport(std::string_view field)
{
    return (field.size() == 2 || field.size() == 3) && AllDigits(field) && field[0] >= '1' && field[0] <= '5';
}

}  // namespace

std::string NormaliseCall(std::string_view call) { return UpperAsciiLetters(Trimmed(call)); }

std::string ModeKindOf(std::string_view mode)
{
    std::string upper = UpperAsciiLetters(Trimmed(mode));
    if (upper == "CW")
        return "CW";
    static constexpr std::array<std::string_view, 6> kPhone = {"SSB", "USB", "LSB", "PH", "FM", "AM"};
    for (const std::string_view phone : kPhone)
        if (upper == phone)
            return "PH";
    static constexpr std::array<std::string_view, 16> kDigital = {
        "RTTY", "RY", "FT8", "FT4", "PSK", "PSK31", "PSK63", "DG", "DATA", "DIGI", "JT65", "JT9", "MFSK", "OLIVIA",
        "PKT", "HELL"};
    for (const std::string_view digital : kDigital)
        if (upper == digital)
            return "DG";
    return upper;
}

std::optional<std::int32_t> MinuteOf(std::string_view date, std::string_view time)
{
    date = Trimmed(date);
    time = Trimmed(time);
    if (date.size() != 10 || date[4] != '-' || date[7] != '-')
        return std::nullopt;
    std::string_view hours;
    std::string_view minutes;
    if (time.size() == 4) {
        hours = time.substr(0, 2);
        minutes = time.substr(2, 2);
    } else if (time.size() == 5 && time[2] == ':') {
        hours = time.substr(0, 2);
        minutes = time.substr(3, 2);
    } else {
        return std::nullopt;
    }
    const auto year = Number(date.substr(0, 4));
    const auto month = Number(date.substr(5, 2));
    const auto day = Number(date.substr(8, 2));
    const auto hour = Number(hours);
    const auto minute = Number(minutes);
    if (!year || !month || !day || !hour || !minute)
        return std::nullopt;
    return MinuteOfParts(*year, *month, *day, *hour, *minute);
}

std::optional<std::int32_t> ParseContestTime(std::string_view text)
{
    if (!text.empty() && (text.back() == 'Z' || text.back() == 'z'))
        text.remove_suffix(1);
    if (text.size() != 16 || (text[10] != 'T' && text[10] != 't') || text[13] != ':')
        return std::nullopt;
    return MinuteOf(text.substr(0, 10), text.substr(11, 5));
}

std::string FormatMinute(std::int32_t minute)
{
    if (minute == kUnknownMinute)
        return "";
    const std::int64_t days = minute >= 0 ? minute / 1440 : (minute - 1439) / 1440;
    const auto inDay = static_cast<int>(minute - days * 1440);
    int year = 0;
    int month = 0;
    int day = 0;
    CivilFromDays(days, year, month, day);
    std::string text = "0000-00-00T00:00Z";
    const auto put = [&text](std::size_t at, int value, int digits) {
        for (int d = digits - 1; d >= 0; --d, value /= 10)
            text[at + static_cast<std::size_t>(d)] = static_cast<char>('0' + value % 10);
    };
    put(0, year, 4);
    put(5, month, 2);
    put(8, day, 2);
    put(11, inDay / 60, 2);
    put(14, inDay % 60, 2);
    return text;
}

std::string ExchangeKey(std::string_view exchange)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (start < exchange.size()) {
        while (start < exchange.size() && IsBlank(exchange[start]))
            ++start;
        std::size_t end = start;
        while (end < exchange.size() && !IsBlank(exchange[end]))
            ++end;
        if (end > start)
            fields.push_back(exchange.substr(start, end - start));
        start = end;
    }
    std::size_t first = 0;
    if (fields.size() > 1 && IsSignalReport(fields[0]))
        first = 1;
    std::string key;
    for (std::size_t i = first; i < fields.size(); ++i) {
        std::string_view field = fields[i];
        if (AllDigits(field)) {
            while (field.size() > 1 && field.front() == '0')
                field.remove_prefix(1);
        }
        if (!key.empty())
            key += ' ';
        key += UpperAsciiLetters(field);
    }
    return key;
}

namespace {

// Remembers what a rule made of each text it was given: logs repeat the
// same calls, modes and exchanges thousands of times, and a hash look-up
// costs less than the rule. The text just given is compared first: a log
// keeps its band, mode and sent exchange for many contacts in a row.
class TRuleCache {
public:
    template <typename Rule>
    std::uint32_t IdOf(std::string_view text, Rule rule)
    {
        if (text == Last_ && LastId_ != kNoIndex)
            return LastId_;
        const std::uint32_t raw = Seen_.Intern(text);
        if (raw == Ids_.size())
            Ids_.push_back(rule(text));
        Last_ = text;
        LastId_ = Ids_[raw];
        return LastId_;
    }

private:
    TTextPool Seen_;
    std::vector<std::uint32_t> Ids_;
    std::string_view Last_;  // in a log's text store, which outlives the cache
    std::uint32_t LastId_ = kNoIndex;
};

}  // namespace

void NormaliseRun(TCheckRun& run, unsigned jobs)
{
    // Each pool is interned by one task, walking the logs and their contacts
    // in order: the numbers come out the same whatever the threads do, and
    // the tasks never touch the same field. Few tasks, because each walk
    // over millions of contacts costs as much in memory as in work.
    const auto callsBandsAndModes = [&run] {
        TRuleCache calls, bands, modes;
        const auto call = [&run](std::string_view text) { return run.Calls.Intern(NormaliseCall(text)); };
        const auto band = [&run](std::string_view text) { return run.Bands.Intern(UpperAsciiLetters(Trimmed(text))); };
        const auto modeKind = [&run](std::string_view text) { return run.ModeKinds.Intern(ModeKindOf(text)); };
        for (TCheckLog& log : run.Logs) {
            log.StationCallId = run.Calls.Intern(log.StationCall);
            for (TCheckContact& contact : log.Contacts) {
                contact.CallId = calls.IdOf(log.Text(contact.Call), call);
                contact.BandId = bands.IdOf(log.Text(contact.Band), band);
                contact.ModeKindId = modes.IdOf(log.Text(contact.Mode), modeKind);
            }
        }
    };
    const auto exchanges = [&run] {
        TRuleCache cache;
        const auto exchange = [&run](std::string_view text) { return run.Exchanges.Intern(ExchangeKey(text)); };
        for (TCheckLog& log : run.Logs)
            for (TCheckContact& contact : log.Contacts) {
                contact.SentKeyId = cache.IdOf(log.Text(contact.Sent), exchange);
                contact.ReceivedKeyId = cache.IdOf(log.Text(contact.Received), exchange);
            }
    };
    // The minutes need no pool: they are worked out log by log by whichever
    // thread is free, so the two tasks above never leave one idle.
    const auto minutes = [](TCheckLog& log) {
        for (TCheckContact& contact : log.Contacts)
            contact.Minute = MinuteOf(log.Text(contact.Date), log.Text(contact.Time)).value_or(kUnknownMinute);
    };
    ForEachIndexInParallel(2 + run.Logs.size(), jobs, [&](std::size_t work) {
        if (work == 0)
            callsBandsAndModes();
        else if (work == 1)
            exchanges();
        else
            minutes(run.Logs[work - 2]);
    });

    run.LogOfCall.assign(run.Calls.Size(), kNoIndex);
    for (std::size_t i = 0; i < run.Logs.size(); ++i)
        run.LogOfCall[run.Logs[i].StationCallId] = static_cast<std::uint32_t>(i);
}
