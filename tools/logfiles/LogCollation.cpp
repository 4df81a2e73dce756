#include "logfiles/LogCollation.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <utility>

namespace {

bool IsAsciiLetterOrDigit(int code)
{
    return (code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z');
}

// The rank of every byte: punctuation and controls (codes below 128 that are
// no letter or digit) in code order, then 0-9, then A-Z each sharing its rank
// with a-z, then codes 128-255 in code order. Ranks start at 1 and all fit
// in one byte.
std::array<unsigned char, 256> CaseInsensitiveRanks()
{
    std::array<unsigned char, 256> ranks{};
    unsigned char next = 1;
    for (int code = 0; code < 128; ++code)
        if (!IsAsciiLetterOrDigit(code))
            ranks[code] = next++;
    for (int code = '0'; code <= '9'; ++code)
        ranks[code] = next++;
    for (int code = 'A'; code <= 'Z'; ++code) {
        ranks[code] = next;
        ranks[code + ('a' - 'A')] = next;
        ++next;
    }
    for (int code = 128; code < 256; ++code)
        ranks[code] = next++;
    return ranks;
}

}  // namespace

std::string CaseInsensitiveCollationKey(std::string_view text)
{
    static const std::array<unsigned char, 256> ranks = CaseInsensitiveRanks();
    std::string key(text.size(), '\0');
    std::transform(text.begin(), text.end(), key.begin(),
                   [](char c) { return static_cast<char>(ranks[static_cast<unsigned char>(c)]); });
    return key;
}

int CompareCaseInsensitive(std::string_view a, std::string_view b)
{
    return CaseInsensitiveCollationKey(a).compare(CaseInsensitiveCollationKey(b));
}

std::vector<std::size_t> CallSignOrder(const std::vector<TLogRow>& rows)
{
    // Keys are built once per row, so the sort costs plain string
    // comparisons; false sorts before true, which puts NULL first.
    std::vector<std::pair<bool, std::string>> keys;
    keys.reserve(rows.size());
    for (const TLogRow& row : rows) {
        const TLogCell& call = row[TLogColumn::CallSign];
        keys.emplace_back(call.has_value(), CaseInsensitiveCollationKey(call.value_or("")));
    }
    std::vector<std::size_t> order(rows.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&keys](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    return order;
}
