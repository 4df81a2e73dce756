// What the readers share in gathering warnings: a limit on how many of one
// kind are listed (a hostile file must not turn every line into a warning),
// the band of a contact from its band field and its frequency, and the
// texts of the warnings every reader gives.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "logfiles/BandNames.h"
#include "logfiles/AsciiText.h"
#include "logfiles/LogReadResult.h"

namespace logwarnings {

inline constexpr std::string_view kContactWithoutCall = "contact without a call, skipped";
inline constexpr std::string_view kNoContacts = "no contacts in the log";
inline constexpr std::string_view kNoBandNoFrequency =
    "no band and no frequency given: every contact is on one empty band";

}  // namespace logwarnings

// Warnings in the order they arose. Of each kind the first kListedPerKind are
// kept with their lines; the rest are counted into one closing warning.
class TWarningList {
public:
    static constexpr std::size_t kListedPerKind = 20;

    void Add(std::string_view kind, std::size_t line, std::string what);
    void Add(std::string_view kind, std::size_t line) { Add(kind, line, std::string(kind)); }

    // The warnings, with one "N more ..." line per kind that overflowed.
    std::vector<TLogWarning> Take();

private:
    struct TKindCount {
        std::size_t Listed = 0;
        std::size_t Left = 0;
    };
    std::vector<TLogWarning> Warnings_;
    std::map<std::string, TKindCount, std::less<>> Kinds_;
};

// A band text or frequency that names no band, gathered per distinct text so
// a log of 10,000 such contacts gives one warning, not 10,000.
class TUnnamedBands {
public:
    static constexpr std::size_t kListedTexts = 20;

    // `what` is "band" or "frequency"; `text` as written.
    void Add(std::string_view what, std::string_view text, std::size_t line);
    void AppendTo(TWarningList& warnings) const;

private:
    struct TSeen {
        std::size_t Count = 0;
        std::size_t FirstLine = 0;
        std::size_t Order = 0;
    };
    std::map<std::string, TSeen, std::less<>> Seen_;
    std::size_t Unlisted_ = 0;
};

// The band a contact is on, from what its log gives:
// - a band field that names a band gives that band in the one naming; one
//   that names none is kept as written (and noted in `unnamed`);
// - with no band field (or an empty one), the band of the frequency, or
//   the band the frequency field names when it holds a band ("20m"); a
//   frequency in no band is kept as written as the band (and noted);
// - where both name a band and they differ, the band field wins and a
//   warning says so.
// nullopt when the contact gives neither.
struct TBandSources {
    std::optional<std::string_view> BandField;
    // The frequency as written, and the band it lies in.
    std::optional<std::string_view> Frequency;
    std::optional<std::string> FrequencyBand;
};

std::optional<std::string> ResolveBand(const TBandSources& sources, std::size_t line, TWarningList& warnings,
                                       TUnnamedBands& unnamed);

// The blank-separated words of a text.
std::vector<std::string> SplitLogWords(std::string_view text);

// Line numbers for offsets that only grow: counting is done once over the
// text however many offsets are asked for.
class TLineCounter {
public:
    explicit TLineCounter(std::string_view text) : Text_(text) {}
    std::size_t LineOf(std::size_t offset);

private:
    std::string_view Text_;
    std::size_t Offset_ = 0;
    std::size_t Line_ = 1;
};
