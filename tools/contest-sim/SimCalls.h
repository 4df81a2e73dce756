// Call signs as they turn up in a contest, and the slips of copying that
// turn one call into another.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "contest-sim/SimRandom.h"

// A plausible call: a country prefix, a digit, one to three letters, now and
// then a portable suffix ("DL1ABC", "K3XY", "OK2ZZ/P", "9A5B").
std::string RandomCall(TSimRandom& random);

// One slip of copying: a character changed, dropped, added, or two
// neighbouring characters swapped. A call is not a slip of itself.
bool IsSlipOf(std::string_view heard, std::string_view call);

// Every text one slip away from `call` (over A-Z, 0-9 and "/"), with repeats.
std::vector<std::string> SlipsOf(std::string_view call);

// One slip of `call`, chosen at random, of the kind a tired operator makes:
// a letter for a letter, a digit for a digit, a character dropped, doubled
// or swapped with its neighbour.
std::string RandomSlip(std::string_view call, TSimRandom& random);
