// The records every stage of the check shares: the options of a run, each
// log as the check keeps it, each contact with its verdict, and the logs
// that had to be left out. Plain data; the stages are free functions.
#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <vector>

// The pieces (texts, string views, characters) one after another, built
// with one allocation: report lines have a dozen pieces each.
template <typename... Pieces>
std::string Joined(const Pieces&... pieces)
{
    const auto sizeOf = [](const auto& piece) -> std::size_t {
        if constexpr (std::is_same_v<std::decay_t<decltype(piece)>, char>)
            return 1;
        else
            return std::string_view(piece).size();
    };
    std::string joined;
    joined.reserve((sizeOf(pieces) + ... + 0));
    const auto append = [&joined](const auto& piece) {
        if constexpr (std::is_same_v<std::decay_t<decltype(piece)>, char>)
            joined += piece;
        else
            joined.append(std::string_view(piece));
    };
    (append(pieces), ...);
    return joined;
}

// A whole number in decimal added to the end of `out`, as std::to_string
// writes it, without a string of its own.
inline void AppendNumber(std::string& out, std::int64_t value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, static_cast<std::size_t>(end - digits));
}

// Logs, contacts and texts are numbered in 32 bits (the reader refuses files
// that could hold more); the count of a container in that width.
template <typename Container>
std::uint32_t Count32(const Container& container)
{
    return static_cast<std::uint32_t>(container.size());
}

inline constexpr std::int32_t kUnknownMinute = std::numeric_limits<std::int32_t>::min();
inline constexpr std::uint32_t kNoIndex = std::numeric_limits<std::uint32_t>::max();

struct TCheckOptions {
    std::vector<std::string> Inputs;
    std::optional<std::string> MembersFile;
    // Minutes since 1970-01-01 00:00 UTC; the period is [From, To).
    std::optional<std::int32_t> From;
    std::optional<std::int32_t> To;
    std::int32_t ToleranceMinutes = 5;
    std::string OutFolder = "results";
    std::int64_t NilPenalty = 0;
    bool RemoveUniques = false;
    unsigned Jobs = 0;  // 0: one per processor
    bool Timings = false;
};

// In the order of precedence: where several apply, the first wins.
enum class TVerdict : std::uint8_t {
    XQso,
    OutOfPeriod,
    Dupe,
    BustedCall,
    Nil,
    BustedExchange,
    Unique,
    NoLog,
    Ok,
};
inline constexpr std::size_t kVerdictCount = 9;

// The verdict's name in verdicts.csv ("busted-call").
std::string_view VerdictName(TVerdict verdict);
// The verdict's column in results.csv ("busted_call").
std::string_view VerdictColumnName(TVerdict verdict);
// ok, no-log and unique keep their credit; every other verdict loses it.
bool KeepsCredit(TVerdict verdict);
// The verdicts that cost the penalty: the contact was checked against
// another log and found wrong.
bool IsCopyingError(TVerdict verdict);

// A piece of a log's text store: logs keep their texts in one string each,
// so millions of contacts do not cost millions of small allocations.
struct TTextRef {
    std::uint32_t Offset = 0;
    std::uint32_t Size = 0;
};

// The four log-table cells the scorer reads; a NULL cell is remembered apart
// from an empty one because the database sorts NULL first.
enum TScoringCell : std::uint8_t { kRowCall, kRowBand, kRowMode, kRowReceived, kScoringCellCount };

struct TCheckContact {
    std::uint32_t Line = 0;
    // As the log writes them.
    TTextRef Frequency, Band, Mode, Date, Time, MyCall, Sent, Call, Received, TransmitterId;
    // The log-table row the plug-in's scorer reads (none for an X-QSO).
    TTextRef RowCells[kScoringCellCount];
    std::uint8_t RowNullCells = 0;  // bit i: RowCells[i] is NULL
    bool IsXQso = false;

    // Normalised: interned call, band and kind of mode; minutes since the
    // epoch (kUnknownMinute when the log gives no usable date and time);
    // the exchanges without the signal report.
    std::uint32_t CallId = 0;
    std::uint32_t BandId = 0;
    std::uint32_t ModeKindId = 0;
    std::int32_t Minute = kUnknownMinute;
    std::uint32_t SentKeyId = 0;
    std::uint32_t ReceivedKeyId = 0;

    // Match: the other side of this contact, found with the right call
    // (Matched) or through the other station's copy of a wrong call.
    std::uint32_t PartnerLog = kNoIndex;
    std::uint32_t PartnerContact = kNoIndex;
    // The partner's line, kept here because the reports show it for
    // millions of contacts and the partner's record is far away in memory.
    std::uint32_t PartnerLine = 0;
    std::uint32_t PartnerSentKeyId = 0;  // what the partner says it sent, for the same reason
    bool PartnerThroughBust = false;  // this contact is the one with the wrong call
    bool PartnerCopiedUsWrong = false;  // the partner is the one with the wrong call

    // Scores: as submitted (-1 dupe, else 1 or 3; 0 for an X-QSO), and as
    // counted after checking (the penalty negative).
    std::int8_t ClaimedResult = 0;
    // Equal for the contacts of a log whose call, band and mode the scorer
    // finds equal (the log table's row; none for an X-QSO).
    std::uint32_t RepeatKey = 0;
    std::int64_t CheckedPoints = 0;
    TVerdict Verdict = TVerdict::Ok;
    // For a dupe: the line of the contact it repeats.
    std::uint32_t RepeatsLine = 0;
};

// A row of the log table as the scoring rules see it: the texts they
// compare replaced by numbers that are equal exactly when the texts are, so
// that a log can be scored again over any subset of its rows without
// touching a text.
struct TScoringRow {
    std::uint32_t Contact = 0;
    // (call, band, mode): equal rows repeat each other.
    std::uint32_t RepeatKey = 0;
    // (band ignoring case, member number), kNoIndex when the exchange holds
    // no member number.
    std::uint32_t MemberKey = 0;
    std::uint8_t Points = 0;
};

struct TCheckLog {
    std::string File;
    std::string StationCall;  // upper-cased
    std::uint32_t StationCallId = 0;
    std::string Category;
    std::string StatedClaimedScore;  // empty when the log states none
    std::string Texts;
    std::vector<TCheckContact> Contacts;
    std::vector<std::string> Warnings;

    // The rows of the log table (every contact but X-QSOs), in the order
    // the plug-in's rebuild reads them, reduced to what its rules compare.
    std::vector<TScoringRow> ScoringRows;

    // Minutes this log's clock runs ahead of the others (median).
    std::int32_t ClockOffset = 0;

    std::size_t ClaimedContacts = 0;
    std::size_t CheckedContacts = 0;
    std::int64_t ClaimedScore = 0;
    std::int64_t CheckedScore = 0;
    std::size_t VerdictCounts[kVerdictCount] = {};

    std::string_view Text(TTextRef ref) const { return std::string_view(Texts).substr(ref.Offset, ref.Size); }
    TTextRef Keep(std::string_view text);
};

struct TLeftOutLog {
    std::string File;
    std::string Reason;  // with the line when the reader gave one
};

// Interned texts: equal texts get equal numbers, numbered from 0 in the
// order first seen.
class TTextPool {
public:
    std::uint32_t Intern(std::string_view text);
    // kNoIndex when the text was never interned.
    std::uint32_t Find(std::string_view text) const;
    const std::string& Text(std::uint32_t id) const { return Texts_[id]; }
    std::size_t Size() const { return Texts_.size(); }

private:
    // Open addressing: a slot holds the text's hash beside its id, so a
    // look-up mostly costs one probe into a flat array and one comparison,
    // where a map of nodes costs a chain of pointers into cold memory.
    struct TSlot {
        std::uint32_t Hash = 0;
        std::uint32_t Id = kNoIndex;  // kNoIndex: empty
    };
    static std::uint32_t HashOf(std::string_view text);
    // The slot of `text`, or the empty slot where it would go.
    std::size_t SlotOf(std::string_view text, std::uint32_t hash) const;
    void Grow();

    std::vector<std::string> Texts_;
    std::vector<TSlot> Slots_;  // a power of two in size, at most half full
};

struct TCheckRun {
    TCheckOptions Options;
    std::vector<TCheckLog> Logs;
    std::vector<TLeftOutLog> LeftOut;
    TTextPool Calls;
    TTextPool Bands;
    TTextPool ModeKinds;
    TTextPool Exchanges;
    // The log sent by each call (by call id), kNoIndex for none.
    std::vector<std::uint32_t> LogOfCall;
    // Per call id: in how many logs the call appears, and the member number
    // the member file gives it (only for calls that sent no log).
    std::vector<std::uint32_t> Appearances;
    std::vector<std::string> MemberNumbers;
};
