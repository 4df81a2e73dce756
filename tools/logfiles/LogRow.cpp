#include "logfiles/LogRow.h"

#include <algorithm>

#include "logfiles/AsciiText.h"

std::optional<TLogColumn> FindLogColumn(std::string_view name)
{
    for (std::size_t index = 0; index < kLogColumnCount; ++index) {
        const std::string_view known = kLogColumnNames[index];
        if (known.size() == name.size() && std::equal(known.begin(), known.end(), name.begin(), [](char a, char b) {
                return UpperAscii(a) == UpperAscii(b);
            }))
            return static_cast<TLogColumn>(index);
    }
    return std::nullopt;
}
