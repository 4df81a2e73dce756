// A simulated contest with its truth: the stations, every contact that really
// took place, and what each submitted log says about them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Minutes since 1970-01-01 00:00 UTC.
using TMinute = std::int64_t;

struct TSimOptions {
    // Every draw follows from this number: the same number, the same contest.
    std::uint64_t RandomStart = 1;
    int Logs = 50;
    // Stations that take part but send no log; -1 for half the number of logs.
    int SilentStations = -1;
    // About how many QSO lines all logs hold together; 0 for 150 per log.
    std::int64_t Contacts = 0;
    TMinute From = 0;  // the contest period, [From, To)
    TMinute To = 0;
    // Shares of contacts (or of logs, for the clock).
    double MissedCallRate = 0.02;      // one side copied the other's call wrong
    double MissedExchangeRate = 0.02;  // one side copied the other's exchange wrong
    double NotLoggedRate = 0.02;       // one side failed to log the contact
    double ClockOffRate = 0.08;        // share of logs whose clock is off
    double DupeRate = 0.01;            // the same station worked again on band and mode
    double OutOfPeriodRate = 0.005;    // contacts made before the start or after the end
    double OneTimerRate = 0.01;        // contacts with stations heard only once
    double XQsoRate = 0.002;           // lines the entrant marked X-QSO
    double MemberShare = 0.4;          // share of stations that are members
    double NeighbourShare = 0.01;      // share of stations whose call is a slip of another's
};

enum class TSimMode : std::uint8_t { Cw, Phone, Digital };

inline constexpr int kSimBandCount = 6;
inline constexpr const char* kSimBandNames[kSimBandCount] = {"160", "80", "40", "20", "15", "10"};

struct TSimStation {
    std::string Call;
    bool Submits = false;
    // 0 for a non-member, else the number after "VC".
    int Member = 0;
    // Heard in exactly one contact of the whole contest.
    bool OneTimer = false;
    // The station whose call is one slip from this one's, or -1.
    int Neighbour = -1;
    // Minutes this station's log clock is ahead (negative: behind).
    int ClockOffset = 0;
    // How the log names phone and digital contacts ("PH"/"SSB", "RY"/"DG").
    std::string PhoneMode = "PH";
    std::string DigitalMode = "RY";
    double Activity = 1.0;
};

// What went wrong with one contact; at most one thing per contact, so every
// verdict has exactly one cause.
enum class TSimFault : std::uint8_t {
    None,
    MissedCall,       // Side logged a slip of the other's call
    MissedExchange,   // Side logged a miscopy of the other's exchange
    NotLogged,        // Side never logged it
    OutOfPeriod,      // made outside the period, logged by both
    FirstOfDupe,      // worked again later on the same band and mode
    RepeatOfDupe,     // that repeat
    LoggedTwice,      // Side entered the contact twice, minutes apart
};

struct TSimContact {
    std::uint32_t Station[2] = {0, 0};
    std::uint8_t Band = 0;
    TSimMode Mode = TSimMode::Cw;
    TSimFault Fault = TSimFault::None;
    std::uint8_t FaultSide = 0;
    TMinute Minute = 0;
    // The serial each side sent (non-members); 0 for members.
    std::uint32_t Serial[2] = {0, 0};
    // The call the faulty side logged instead (MissedCall only).
    std::string LoggedCall;
    // The exchange the faulty side received instead (MissedExchange only).
    std::string LoggedExchange;
};

inline constexpr std::uint32_t kNoContact = 0xFFFFFFFFu;

// One line of a submitted log.
struct TSimEntry {
    // The contact this line records, or kNoContact for an X-QSO line.
    std::uint32_t Contact = kNoContact;
    std::uint8_t Side = 0;  // which side of the contact this log is
    std::uint8_t Band = 0;
    TSimMode Mode = TSimMode::Cw;
    bool XQso = false;
    TMinute LoggedMinute = 0;
    int FrequencyKHz = 0;
    std::string Call;
    std::string SentExchange;      // "VC12" or "017"
    std::string ReceivedExchange;  // as logged
    std::size_t Line = 0;          // line number in the written file
};

struct TSimLog {
    std::uint32_t Station = 0;
    std::string Category = "SINGLE-OP";
    // Lines end in CR LF rather than LF.
    bool CrLf = false;
    std::vector<TSimEntry> Entries;  // in the log's order
    std::size_t HeaderLines = 0;
    std::int64_t ClaimedScore = 0;
};

struct TSimContest {
    TSimOptions Options;
    std::vector<TSimStation> Stations;
    std::vector<TSimContact> Contacts;
    std::vector<TSimLog> Logs;
};

// Draws stations, contacts, faults and the logs the submitting stations write.
TSimContest GenerateContest(const TSimOptions& options);

// The mode text a station writes for a contact of that mode.
const std::string& ModeText(const TSimStation& station, TSimMode mode);
// The signal report sent for a mode ("599" or "59").
const char* ReportOf(TSimMode mode);
// The text of a minute, "2026-03-01T12:00Z".
std::string MinuteText(TMinute minute);
// Reads "2026-03-01T12:00Z" (the trailing Z may be left out); false when the
// text is no such time.
bool ParseMinute(const std::string& text, TMinute& minute);
