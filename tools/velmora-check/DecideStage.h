// The deciding stage: one verdict per contact from what matching found, in
// the order of precedence (x-qso, out-of-period, dupe, busted-call, nil,
// busted-exchange, unique, no-log, ok), each with the evidence that an
// organiser shows the entrant.
#pragma once

#include <cstdint>
#include <vector>

#include "members/MemberList.h"
#include "velmora-check/CheckTypes.h"

// `appearances`: per call id, in how many logs it appears (from MatchRun).
// `members`: the member file's lines, empty without --members.
void DecideRun(TCheckRun& run, const std::vector<std::uint32_t>& appearances, const TMemberList& members);
