#include "contest-sim/SimCalls.h"

#include <array>
#include <utility>

namespace {

constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::string_view kDigits = "0123456789";
constexpr std::string_view kCallCharacters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/";

// Prefixes weighted by repetition: the busy contest countries come up often.
constexpr std::array<std::string_view, 64> kPrefixes = {
    "DL", "DL", "DL", "DK", "DJ", "DO", "OK", "OK", "OL", "OM", "SP", "SP", "SQ", "HA", "HG", "S5",
    "9A", "YU", "LZ", "YO", "UR", "UT", "ES", "LY", "YL", "OH", "SM", "SA", "LA", "OZ", "ON", "PA",
    "PD", "EA", "EA", "CT", "F", "F", "G", "G", "M", "GW", "EI", "I", "IK", "IZ", "HB9", "OE",
    "K", "K", "W", "W", "N", "AA", "KB", "VE", "JA", "JH", "VK", "ZL", "PY", "LU", "ZS", "4X",
};

char Pick(std::string_view characters, TSimRandom& random)
{
    return characters[random.Below(characters.size())];
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string RandomCall(TSimRandom& random)
{
    std::string call(kPrefixes[random.Below(kPrefixes.size())]);
    call += Pick(kDigits, random);
    const std::uint64_t suffixLength = 1 + random.Below(3);
    for (std::uint64_t i = 0; i < suffixLength; ++i)
        call += Pick(kLetters, random);
    if (random.Chance(0.03))
        call += "/P";
    return call;
}

bool IsSlipOf(std::string_view heard, std::string_view call)
{
    if (heard == call)
        return false;
    const std::size_t heardSize = heard.size();
    const std::size_t callSize = call.size();
    if (heardSize == callSize) {
        std::size_t first = 0;
        while (heard[first] == call[first])
            ++first;
        // One character changed, or two neighbours swapped.
        if (heard.substr(first + 1) == call.substr(first + 1))
            return true;
        return first + 1 < heardSize && heard[first] == call[first + 1] && heard[first + 1] == call[first] &&
               heard.substr(first + 2) == call.substr(first + 2);
    }
    // One character added or dropped: the longer one minus one character is
    // the shorter one.
    const std::string_view longer = heardSize > callSize ? heard : call;
    const std::string_view shorter = heardSize > callSize ? call : heard;
    if (longer.size() != shorter.size() + 1)
        return false;
    std::size_t first = 0;
    while (first < shorter.size() && longer[first] == shorter[first])
        ++first;
    return longer.substr(first + 1) == shorter.substr(first);
}

std::vector<std::string> SlipsOf(std::string_view call)
{
    std::vector<std::string> slips;
    slips.reserve((call.size() * 2 + 1) * kCallCharacters.size() + call.size() * 2);
    const std::string original(call);
    for (std::size_t i = 0; i < call.size(); ++i) {
        for (char c : kCallCharacters) {
            if (c == call[i])
                continue;
            std::string changed = original;
            changed[i] = c;
            slips.push_back(std::move(changed));
        }
        std::string dropped = original;
        dropped.erase(i, 1);
        slips.push_back(std::move(dropped));
        if (i + 1 < call.size() && call[i] != call[i + 1]) {
            std::string swapped = original;
            std::swap(swapped[i], swapped[i + 1]);
            slips.push_back(std::move(swapped));
        }
    }
    for (std::size_t i = 0; i <= call.size(); ++i) {
        for (char c : kCallCharacters) {
            std::string added = original;
            added.insert(added.begin() + static_cast<std::ptrdiff_t>(i), c);
            if (added != original)
                slips.push_back(std::move(added));
        }
    }
    return slips;
}

std::string RandomSlip(std::string_view call, TSimRandom& random)
{
    std::string slip(call);
    for (;;) {
        const std::size_t at = random.Below(slip.size());
        switch (random.Below(4)) {
        case 0:  // a character misheard as another of its kind
            slip[at] = IsDigit(call[at]) ? Pick(kDigits, random) : Pick(kLetters, random);
            break;
        case 1:  // a character not heard at all
            if (call.size() > 3)
                slip.erase(at, 1);
            break;
        case 2:  // a character heard twice
            slip.insert(slip.begin() + static_cast<std::ptrdiff_t>(at), call[at]);
            break;
        default:  // two neighbours the wrong way round
            if (at + 1 < slip.size())
                std::swap(slip[at], slip[at + 1]);
            break;
        }
        if (slip != call && slip.find('/') != 0 && slip.back() != '/')
            return slip;
        slip = std::string(call);
    }
}
