// The matching stage: each contact looked for in the log of the station it
// names, by (call, band, kind of mode) through a sorted index per log, within
// the time tolerance once each log's clock offset is taken out. A contact
// matches at most one contact of the other log. Contacts left over are then
// tried as a slip of copying: a call one character away from a station whose
// log holds the contact with this one at that time.
#pragma once

#include <cstdint>
#include <vector>

#include "velmora-check/CheckTypes.h"

// The time of a contact on the common clock: its minute less its log's
// offset; kUnknownMinute stays unknown.
std::int32_t CommonMinute(const TCheckLog& log, const TCheckContact& contact);

// True when `a` becomes `b` by one character changed, dropped or added, or
// two neighbours swapped.
bool IsOneSlipApart(std::string_view a, std::string_view b);

// The lower middle of the values (0 for none); reorders them.
std::int32_t MedianOf(std::vector<std::int32_t>& values);

// Needs NormaliseRun and the claimed scores (duplicates are matched last).
// Fills each log's ClockOffset, each contact's partner, and, per call id, in
// how many logs the call appears (run.Appearances). Works on up to
// run.Options.Jobs threads; the result does not depend on their number.
void MatchRun(TCheckRun& run);
