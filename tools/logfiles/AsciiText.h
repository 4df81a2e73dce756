// The few text rules every log reader shares. Log files are single-byte text
// of any code page, so letter case is folded for a-z and A-Z only: a byte
// above 127 is never taken for a letter of some other alphabet.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

inline char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
inline char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

inline std::string LowerAscii(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = LowerAscii(c);
    return lower;
}

inline std::string UpperAscii(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper)
        c = UpperAscii(c);
    return upper;
}

inline bool SameLettersIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t at = 0; at < a.size(); ++at)
        if (LowerAscii(a[at]) != LowerAscii(b[at]))
            return false;
    return true;
}

// The text without the blanks and control bytes (every byte up to 32) around
// it, as cells and fields of a log are compared.
inline std::string_view TrimLogBlanks(std::string_view text)
{
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}
