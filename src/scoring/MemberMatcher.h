// The two fixed patterns of the contest: the member prefix "VC" anywhere in
// the exchange, and a member number "VC" followed by one to three digits.
// A direct scan does what a regular-expression engine would, without one.
#pragma once

#include <string_view>

class TMemberMatcher {
public:
    // True when "VC" occurs anywhere in the (upper-cased) exchange.
    bool ContainsMemberPrefix(std::string_view exchange) const;

    // The leftmost "VC" directly followed by a digit, with up to three
    // digits; empty when there is none. The result points into `exchange`.
    std::string_view FindMemberNumber(std::string_view exchange) const;
};
