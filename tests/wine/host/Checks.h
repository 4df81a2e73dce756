// Check macros in the manner of Wine's own tests: one line per fact, and a
// failing fact prints where it is, what was expected and what came.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>

namespace host {

// Raised by REQUIRE: the case cannot go on meaningfully (no window, no DLL).
struct TCaseAborted : std::runtime_error {
    using std::runtime_error::runtime_error;
};

int FailureCount();
void ResetFailureCount();
void ReportFailure(const char* file, int line, const std::string& message);

// Runs a case or a suite from a count of no failures: a TCaseAborted ends it
// early, any other exception is a failed check. Prints "PASS: 0 failed
// check(s)" or "FAIL: N failed check(s)" and returns the process's exit
// code, 0 when every check held, else 1.
int RunCounted(const std::function<void()>& body);

// Texts are shown with their control characters spelled out, so a report
// that differs by one tab or one CR LF reads as such.
std::string Quote(std::string_view text);

inline std::string Describe(const std::string& text) { return Quote(text); }
inline std::string Describe(std::string_view text) { return Quote(text); }
inline std::string Describe(const char* text) { return text ? Quote(text) : "(null)"; }
inline std::string Describe(bool value) { return value ? "true" : "false"; }
inline std::string Describe(HWND window)
{
    std::ostringstream out;
    out << "HWND " << static_cast<const void*>(window);
    return out.str();
}
template <typename T>
    requires std::is_arithmetic_v<T>
std::string Describe(T value)
{
    if constexpr (sizeof(T) == 1)
        return std::to_string(static_cast<int>(value));
    else
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

}  // namespace host

// CHECK_EQ(expected, actual, what): one fact, both sides printed on failure.
#define CHECK_EQ(expected, actual, what) ::host::CheckEqual(__FILE__, __LINE__, (what), (expected), (actual))
// CHECK(condition, what, detail): for facts that are not a comparison; the
// detail says what was seen.
#define CHECK(condition, what, detail) ::host::CheckTrue(__FILE__, __LINE__, (what), (condition), (detail))
// REQUIRE: as CHECK, but ends the case when it fails.
#define REQUIRE(condition, what)                                                          \
    do {                                                                                  \
        if (!::host::CheckTrue(__FILE__, __LINE__, (what), (condition), "required"))    \
            throw ::host::TCaseAborted(what);                                             \
    } while (0)
