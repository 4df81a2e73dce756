// What every fuzz target shares: a check that stops the run on the first
// broken property (libFuzzer then keeps the input that broke it), and the
// plain-text splitting the targets use to read their inputs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

// Prints which property broke, with an optional detail, then aborts: an
// abort is what libFuzzer records as a finding.
[[noreturn]] inline void FuzzFailure(const char* file, int line, const char* property, const std::string& detail)
{
    // Nothing is left to do if stderr fails: the abort is the finding.
    static_cast<void>(std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, property));
    if (!detail.empty())
        static_cast<void>(std::fprintf(stderr, "  %s\n", detail.c_str()));
    std::abort();
}

#define FUZZ_CHECK(condition, detail)                                   \
    do {                                                                \
        if (!(condition))                                               \
            FuzzFailure(__FILE__, __LINE__, #condition, (detail));      \
    } while (false)

inline std::string_view InputText(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

// Splits at every `separator`; n separators always give n + 1 pieces, so
// the pieces line up with the positions a mutation moved them to.
inline std::vector<std::string_view> SplitAt(std::string_view text, char separator)
{
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (std::size_t at = text.find(separator); at != std::string_view::npos; at = text.find(separator, start)) {
        pieces.push_back(text.substr(start, at - start));
        start = at + 1;
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

// Bytes shown as C escapes, so a failure message can be pasted into a test.
inline std::string Escaped(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (c == '\\' || c == '"') {
            out += '\\';
            out += c;
        } else if (code >= 32 && code < 127) {
            out += c;
        } else {
            // Octal escapes end after three digits, so the next character
            // can never be read as part of them.
            out += '\\';
            out += static_cast<char>('0' + (code >> 6));
            out += static_cast<char>('0' + ((code >> 3) & 7));
            out += static_cast<char>('0' + (code & 7));
        }
    }
    return "\"" + out + "\"";
}
