#include "Check.h"

#include <cstdio>
#include <sstream>

namespace reliability {

namespace {
int Failures = 0;
}

int FailureCount() { return Failures; }

void ReportFailure(const char* file, int line, const std::string& message)
{
    ++Failures;
    std::string_view name(file);
    if (const auto slash = name.find_last_of("\\/"); slash != std::string_view::npos)
        name.remove_prefix(slash + 1);
    std::printf("%.*s:%d: %s\n", static_cast<int>(name.size()), name.data(), line, message.c_str());
    std::fflush(stdout);
}

std::string Quote(std::string_view text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (c == '\t')
            quoted += "\\t";
        else if (c == '\r')
            quoted += "\\r";
        else if (c == '\n')
            quoted += "\\n";
        else if (c == '"' || c == '\\')
            quoted += std::string("\\") + c;
        else if (code < 32 || code >= 127) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", code);
            quoted += escaped;
        } else
            quoted += c;
    }
    return quoted + "\"";
}

std::string Describe(HWND window)
{
    std::ostringstream out;
    out << "HWND " << static_cast<const void*>(window);
    return out.str();
}

}  // namespace reliability
