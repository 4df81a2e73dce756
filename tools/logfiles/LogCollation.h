// The order in which the host's log database returns "order by CallSign" by
// default. Like many database collations it ignores letter case and ranks
// characters by kind: spaces and punctuation first, then digits, then
// letters, then every code above 127. The host's in-memory database and the
// native scorer both sort through this one definition, so they return rows
// in exactly the same order, and the order decides which of two equal
// contacts is counted and in which order the bands appear in the report.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "logfiles/LogRow.h"

// A text's key under the collation: keys compare byte by byte (unsigned)
// exactly as their texts compare under the collation. Texts differing only
// in the letter case of a-z get equal keys.
std::string CaseInsensitiveCollationKey(std::string_view text);

// <0, 0 or >0 as `a` sorts before, with or after `b`.
int CompareCaseInsensitive(std::string_view a, std::string_view b);

// The row numbers (0-based) of `rows` in the order of their CallSign: NULL
// before every text, equal calls in the order of the log (a stable sort).
std::vector<std::size_t> CallSignOrder(const std::vector<TLogRow>& rows);
