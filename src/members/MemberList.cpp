#include "members/MemberList.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "scoring/TextRules.h"

TMemberList SplitMemberLines(std::string_view bytes)
{
    const std::size_t nul = bytes.find('\0');
    if (nul != std::string_view::npos)
        bytes = bytes.substr(0, nul);

    TMemberList lines;
    std::size_t start = 0;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const char c = bytes[at];
        if (c != '\r' && c != '\n') {
            ++at;
            continue;
        }
        lines.emplace_back(bytes.substr(start, at - start));
        // CR LF is one break; LF CR is two.
        at += (c == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n') ? 2 : 1;
        start = at;
    }
    if (start < bytes.size())
        lines.emplace_back(bytes.substr(start));
    return lines;
}

std::string FindMemberNumber(const TMemberList& memberList, std::string_view call)
{
    // Only the first 15 characters of a trimmed line are looked at, and the
    // number is at most 5 characters long.
    constexpr std::size_t kWindow = 15;
    constexpr std::size_t kNumberLength = 5;

    std::string result;
    if (call.empty())
        return result;
    for (const std::string& entry : memberList) {
        if (entry.find(call) == std::string::npos)
            continue;
        const std::string_view window = TrimControlAndSpace(entry).substr(0, kWindow);
        const std::size_t equals = window.find('=');
        if (equals == std::string_view::npos || window.substr(0, equals) != call)
            continue;
        result.assign(window.substr(equals + 1, kNumberLength));
    }
    return result;
}

TMemberList LoadMemberFile(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return {};
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error("Cannot open file " + path);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad())
        throw std::runtime_error("Cannot open file " + path);
    return SplitMemberLines(bytes);
}
