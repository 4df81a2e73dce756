#include "Checks.h"

#include <cstdio>

namespace host {

namespace {
int Failures = 0;
}

int FailureCount() { return Failures; }
void ResetFailureCount() { Failures = 0; }

int RunCounted(const std::function<void()>& body)
{
    ResetFailureCount();
    try {
        body();
    } catch (const TCaseAborted& aborted) {
        std::printf("case ended early: %s\n", aborted.what());
    } catch (const std::exception& error) {
        ReportFailure(__FILE__, __LINE__, std::string("unexpected exception: ") + error.what());
    }
    const int failures = FailureCount();
    std::printf("%s: %d failed check(s)\n", failures == 0 ? "PASS" : "FAIL", failures);
    (void)std::fflush(stdout);
    return failures == 0 ? 0 : 1;
}

void ReportFailure(const char* file, int line, const std::string& message)
{
    ++Failures;
    // Only the file's own name: the build's absolute paths add nothing.
    std::string_view name(file);
    if (const auto slash = name.find_last_of("\\/"); slash != std::string_view::npos)
        name.remove_prefix(slash + 1);
    std::printf("%.*s:%d: %s\n", static_cast<int>(name.size()), name.data(), line, message.c_str());
    (void)std::fflush(stdout);
}

std::string Quote(std::string_view text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        switch (c) {
        case '\t': quoted += "\\t"; break;
        case '\r': quoted += "\\r"; break;
        case '\n': quoted += "\\n"; break;
        case '"': quoted += "\\\""; break;
        case '\\': quoted += "\\\\"; break;
        default:
            if (code < 32 || code >= 127) {
                char escaped[8];
                (void)std::snprintf(escaped, sizeof escaped, "\\x%02X", code);
                quoted += escaped;
            } else {
                quoted += c;
            }
        }
    }
    return quoted + "\"";
}

}  // namespace host
