#include "scoring/MemberMatcher.h"

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}

bool TMemberMatcher::ContainsMemberPrefix(std::string_view exchange) const
{
    return exchange.find("VC") != std::string_view::npos;
}

std::string_view TMemberMatcher::FindMemberNumber(std::string_view exchange) const
{
    for (std::size_t at = exchange.find("VC"); at != std::string_view::npos; at = exchange.find("VC", at + 1)) {
        std::size_t end = at + 2;
        while (end < exchange.size() && end - (at + 2) < 3 && IsDigit(exchange[end]))
            ++end;
        if (end > at + 2)
            return exchange.substr(at, end - at);
    }
    return {};
}
