// One text out of several pieces, built in place.
#pragma once

#include <string>
#include <string_view>

template <typename... TPieces>
std::string Joined(const TPieces&... pieces)
{
    std::string text;
    text.reserve((std::string_view(pieces).size() + ...));
    (text.append(pieces), ...);
    return text;
}
