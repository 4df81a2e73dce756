#include "scoring/TextRules.h"

#include <cstring>

int OrdinalCompare(std::string_view a, std::string_view b)
{
    // string_view::compare goes through char_traits<char>::compare, which is
    // memcmp: unsigned bytes, then the shorter text first.
    return a.compare(b);
}

std::string UpperAsciiLetters(std::string_view text)
{
    std::string result(text);
    for (char& c : result) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return result;
}

std::string_view TrimControlAndSpace(std::string_view text)
{
    auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

std::string FoldAsciiCase(std::string_view text)
{
    return UpperAsciiLetters(text);
}
