// The member file: any bytes as the file, split into lines, then the look-up
// of calls taken from those lines (and a few fixed ones), checked against a
// second, differently built reading of the same rules.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "members/MemberList.h"

namespace {

// Lines another way round: first make every CR LF a lone LF, then cut at each
// CR or LF; a break at the very end closes the last line instead of opening
// an empty one.
std::vector<std::string> ReferenceLines(std::string_view bytes)
{
    bytes = bytes.substr(0, bytes.find('\0'));
    std::string unified;
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        if (bytes[at] == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n')
            continue;
        unified += bytes[at];
    }
    std::vector<std::string> lines;
    std::string current;
    for (const char c : unified) {
        if (c == '\r' || c == '\n') {
            lines.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty())
        lines.push_back(current);
    return lines;
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

// The look-up with 1-based positions as the rules count them, walking the
// lines from the last one back, so the first match found is the one that
// wins.
std::string ReferenceNumber(const std::vector<std::string>& lines, std::string_view call)
{
    if (call.empty())
        return {};
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        if (line->find(call) == std::string::npos)
            continue;
        std::size_t first = 0;
        std::size_t end = line->size();
        while (first < end && IsBlank((*line)[first]))
            ++first;
        while (end > first && IsBlank((*line)[end - 1]))
            --end;
        const std::string s = line->substr(first, std::min<std::size_t>(end - first, 15));
        std::size_t p = 0;  // 1-based position of the first "=", 0 for none
        for (std::size_t at = 1; at <= s.size() && p == 0; ++at) {
            if (s[at - 1] == '=')
                p = at;
        }
        if (p == 0 || s.substr(0, p - 1) != call)
            continue;
        return s.substr(p, 5);
    }
    return {};
}

void CheckLookUp(const TMemberList& lines, std::string_view call)
{
    const std::string number = FindMemberNumber(lines, call);
    const std::string what = "call " + Escaped(call) + " gave " + Escaped(number);

    FUZZ_CHECK(number.size() <= 5, what);
    FUZZ_CHECK(FindMemberNumber(lines, call) == number, what + ": a second look-up differs");
    if (call.empty())
        FUZZ_CHECK(number.empty(), what);
    // The fixed 15-character window leaves room for at most 14 - n number
    // characters after a call of n characters and "=".
    if (call.size() >= 14)
        FUZZ_CHECK(number.empty(), what);
    else
        FUZZ_CHECK(number.size() <= 14 - call.size(), what);

    if (!number.empty()) {
        // The number stands right behind "call=" on some line.
        const std::string stretch = std::string(call) + "=" + number;
        bool onSomeLine = false;
        for (const std::string& line : lines)
            onSomeLine = onSomeLine || line.find(stretch) != std::string::npos;
        FUZZ_CHECK(onSomeLine, what);
    }
    FUZZ_CHECK(number == ReferenceNumber(lines, call), what + ", expected " + Escaped(ReferenceNumber(lines, call)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = InputText(data, size);
    const TMemberList lines = SplitMemberLines(bytes);

    FUZZ_CHECK(lines == ReferenceLines(bytes), "line splitting differs from the reference");
    std::size_t characters = 0;
    for (const std::string& line : lines) {
        FUZZ_CHECK(line.find_first_of(std::string("\r\n\0", 3)) == std::string::npos, Escaped(line));
        characters += line.size();
    }
    FUZZ_CHECK(characters <= size, "lines hold more bytes than the file");

    std::vector<std::string> calls = {"", "K1ABC", "=", " ", "VC", std::string(14, 'A'), std::string(15, 'A')};
    // Calls as the file spells them: what stands before the first "=" of a
    // line, raw and without its blanks, and a whole line (which matches only
    // when it is part of another line). A bounded number keeps each run fast.
    for (std::size_t at = 0; at < lines.size() && at < 24; ++at) {
        const std::string& line = lines[at];
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos) {
            const std::string key = line.substr(0, equals);
            calls.push_back(key);
            std::size_t first = 0;
            while (first < key.size() && IsBlank(key[first]))
                ++first;
            calls.push_back(key.substr(first));
        }
        if (at < 4)
            calls.push_back(line);
    }
    for (const std::string& call : calls)
        CheckLookUp(lines, call);
    return 0;
}
