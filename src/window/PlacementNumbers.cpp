#include "window/PlacementNumbers.h"

#include <optional>

namespace {

std::optional<unsigned> HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return static_cast<unsigned>(c - '0');
    if (c >= 'a' && c <= 'f')
        return static_cast<unsigned>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F')
        return static_cast<unsigned>(c - 'A' + 10);
    return std::nullopt;
}

// The digits after a hexadecimal prefix, as the 32 bits they spell.
std::optional<std::int32_t> ReadHexDigits(std::string_view digits)
{
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        const std::optional<unsigned> digit = HexDigitValue(c);
        if (!digit)
            return std::nullopt;
        value = value * 16 + *digit;
        // Leading zeros are free; only significant bits count.
        if (value > 0xFFFFFFFFull)
            return std::nullopt;
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::optional<std::int32_t> ReadDecimalDigits(std::string_view digits, bool negative)
{
    if (digits.empty())
        return std::nullopt;
    // The negative range reaches one further than the positive one.
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > limit)
            return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

std::optional<std::int32_t> ReadNumber(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;

    if (text.front() == '$' || text.front() == 'x' || text.front() == 'X')
        return ReadHexDigits(text.substr(1));
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return ReadHexDigits(text.substr(2));

    bool negative = false;
    if (text.front() == '-' || text.front() == '+') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    return ReadDecimalDigits(text, negative);
}

bool IsWordSeparator(char c)
{
    return c == ' ' || c == ',';
}

}  // namespace

std::int32_t ReadPlacementNumber(std::string_view text, std::int32_t defaultValue)
{
    return ReadNumber(text).value_or(defaultValue);
}

std::vector<std::string> SplitPlacementWords(std::string_view text)
{
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && IsWordSeparator(text[at]))
            ++at;
        const std::size_t start = at;
        while (at < text.size() && !IsWordSeparator(text[at]))
            ++at;
        if (at > start)
            words.emplace_back(text.substr(start, at - start));
    }
    return words;
}

std::int32_t PlacementWordOrDefault(const std::vector<std::string>& words,
                                    std::size_t index, std::int32_t defaultValue)
{
    if (index >= words.size())
        return defaultValue;
    return ReadPlacementNumber(words[index], defaultValue);
}

std::string FormatPlacementNumbers(std::int32_t first, std::int32_t second,
                                   std::int32_t third, std::int32_t fourth)
{
    // Appended piece by piece: GCC 12 mistakes "literal + std::string" for
    // overlapping copies (-Wrestrict) when it inlines it.
    std::string text = std::to_string(first);
    for (const std::int32_t number : {second, third, fourth})
        text.append(",").append(std::to_string(number));
    return text;
}

std::string ScreenSuffix(std::int32_t width, std::int32_t height)
{
    std::string text = "(";
    text.append(std::to_string(width)).append("x").append(std::to_string(height)).append(")");
    return text;
}

std::string ApplicationKeyFromExecutable(std::string_view executablePath)
{
    const std::size_t folderEnd = executablePath.find_last_of("\\/:");
    std::string_view name = folderEnd == std::string_view::npos
                                ? executablePath
                                : executablePath.substr(folderEnd + 1);
    const std::size_t extension = name.rfind('.');
    if (extension != std::string_view::npos)
        name = name.substr(0, extension);
    std::string key = "Software\\";
    key.append(name);
    return key;
}
