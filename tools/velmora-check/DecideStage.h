// The deciding stage: one verdict per contact from what matching found, in
// the order of precedence (x-qso, out-of-period, dupe, busted-call, nil,
// busted-exchange, unique, no-log, ok), and the evidence that an organiser
// shows the entrant.
#pragma once

#include <string>

#include "members/MemberList.h"
#include "velmora-check/CheckTypes.h"

// Needs ScoreClaimed (the repeat keys) and MatchRun (run.Appearances). `members`: the member file's lines,
// empty without --members.
void DecideRun(TCheckRun& run, const TMemberList& members, unsigned jobs);

// The evidence of the contact's verdict: the other log's line, what was
// sent, the line a repeat repeats.
std::string DetailText(const TCheckRun& run, const TCheckLog& log, const TCheckContact& contact);
// The same text added to the end of `out` (a row of millions is written
// without a new string for each).
void AppendDetailText(std::string& out, const TCheckRun& run, const TCheckLog& log, const TCheckContact& contact);
