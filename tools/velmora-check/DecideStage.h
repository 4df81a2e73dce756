// The deciding stage: one verdict per contact from what matching found, in
// the order of precedence (x-qso, out-of-period, dupe, busted-call, nil,
// busted-exchange, unique, no-log, ok), and the evidence that an organiser
// shows the entrant.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "members/MemberList.h"
#include "velmora-check/CheckTypes.h"

// The member file's numbers by call, read once: FindMemberNumber's answer
// for every call at the cost of one look-up instead of a pass over the file.
class TMemberIndex {
public:
    explicit TMemberIndex(const TMemberList& members);
    // Empty when no line gives the call a number (or the last one gives an
    // empty one).
    const std::string& NumberOf(std::string_view call) const;

private:
    struct THash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    std::unordered_map<std::string, std::string, THash, std::equal_to<>> Numbers_;
    std::string None_;
};

// Needs ScoreClaimed (the repeat keys) and MatchRun (run.Appearances). `members`: the member file's lines,
// empty without --members.
void DecideRun(TCheckRun& run, const TMemberList& members, unsigned jobs);

// The evidence of the contact's verdict: the other log's line, what was
// sent, the line a repeat repeats.
std::string DetailText(const TCheckRun& run, const TCheckLog& log, const TCheckContact& contact);
// The same text added to the end of `out` (a row of millions is written
// without a new string for each).
void AppendDetailText(std::string& out, const TCheckRun& run, const TCheckLog& log, const TCheckContact& contact);
