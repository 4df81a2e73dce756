// Facts checked one per line, each failure saying what was expected and what
// came, in the manner of Wine's own tests. Kept in this folder so the
// reliability suites do not depend on the integration harness while it moves.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace reliability {

int FailureCount();
void ReportFailure(const char* file, int line, const std::string& message);

// Control characters spelled out, so a text that differs by one tab or one
// CR LF reads as such.
std::string Quote(std::string_view text);

inline std::string Describe(const std::string& text) { return Quote(text); }
inline std::string Describe(std::string_view text) { return Quote(text); }
inline std::string Describe(const char* text) { return text ? Quote(text) : "(null)"; }
inline std::string Describe(bool value) { return value ? "true" : "false"; }
std::string Describe(HWND window);
template <typename T>
    requires std::is_arithmetic_v<T>
std::string Describe(T value)
{
    return std::to_string(value);
}

template <typename E, typename A>
bool CheckEqual(const char* file, int line, std::string_view what, const E& expected, const A& actual)
{
    if (expected == actual)
        return true;
    ReportFailure(file, line, std::string(what) + ": expected " + Describe(expected) + ", got " + Describe(actual));
    return false;
}

inline bool CheckTrue(const char* file, int line, std::string_view what, bool condition, const std::string& detail)
{
    if (condition)
        return true;
    ReportFailure(file, line, std::string(what) + (detail.empty() ? std::string() : ": " + detail));
    return false;
}

}  // namespace reliability

#define EXPECT_EQUAL(expected, actual, what) \
    ::reliability::CheckEqual(__FILE__, __LINE__, (what), (expected), (actual))
#define EXPECT_TRUE(condition, what, detail) ::reliability::CheckTrue(__FILE__, __LINE__, (what), (condition), (detail))
