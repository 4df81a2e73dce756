// Generated contest logs: the same contacts on every platform and every run,
// since the random generator starts from a fixed value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "support/LoggedContact.h"

// `contacts` contacts with calls such as "DL1ABC", "K3XYZ" or "JA1ABC/P",
// on the bands 160, 80, 40, 20, 15 and 10 in CW, SSB and RTTY. About 5% repeat
// an earlier call, band and mode exactly (duplicates), and about 40% carry a
// member exchange "VC<n>" with n from 1 to 2000 (numbers of four digits
// count by their first three, so fewer distinct members result).
std::vector<TLoggedContact> SyntheticLog(std::size_t contacts, std::uint32_t startValue = 1);

// The same log with about a third of the exchanges rewritten to carry a
// member number in varying spelling ("VC12", "vc7", "Vc1234", "xVC03 599"),
// about a tenth of the band texts given an "m" or "M", and a few calls
// lower-cased: recorded logs made to exercise member counting, case-insensitive
// member keys and case-sensitive calls.
std::vector<TLoggedContact> WithMemberExchanges(std::vector<TLoggedContact> log, std::uint32_t startValue = 1);
