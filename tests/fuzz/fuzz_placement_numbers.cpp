// The placement store's texts: the number reader against a second reader
// built on std::from_chars, the word splitting of the position values, the
// "%d,%d,%d,%d" form read back, and the key name taken from an executable's
// path. The input is the stored text; its first 16 bytes also give the four
// numbers of the written form.
#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "window/PlacementNumbers.h"

namespace {

// Leading spaces (and only spaces) go; then a hexadecimal prefix and the
// 32-bit pattern its digits spell, or a decimal number with an optional sign,
// each filling the rest of the text.
std::optional<std::int32_t> ReferenceNumber(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return std::nullopt;
    text.remove_prefix(first);

    for (const std::string_view prefix : {"0x", "0X", "$", "x", "X"}) {
        if (text.substr(0, prefix.size()) != prefix)
            continue;
        const std::string_view digits = text.substr(prefix.size());
        std::uint32_t pattern = 0;
        // from_chars takes no sign for an unsigned type and no prefix.
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), pattern, 16);
        if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
            return std::nullopt;
        return static_cast<std::int32_t>(pattern);
    }

    // from_chars knows "-" but not "+"; after a "+" no second sign may come.
    if (text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty() || text.front() == '-')
            return std::nullopt;
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::vector<std::string> ReferenceWords(std::string_view text)
{
    std::vector<std::string> words;
    std::string word;
    for (const char c : text) {
        if (c == ' ' || c == ',') {
            if (!word.empty())
                words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty())
        words.push_back(word);
    return words;
}

void CheckNumber(std::string_view text, std::int32_t otherDefault)
{
    const std::optional<std::int32_t> expected = ReferenceNumber(text);
    for (const std::int32_t defaultValue : {std::int32_t{777}, otherDefault}) {
        const std::int32_t read = ReadPlacementNumber(text, defaultValue);
        FUZZ_CHECK(read == expected.value_or(defaultValue),
                   Escaped(text) + " read as " + std::to_string(read) + ", expected " +
                       (expected ? std::to_string(*expected) : "the default " + std::to_string(defaultValue)));
    }
}

void CheckWords(std::string_view text, std::int32_t otherDefault)
{
    const std::vector<std::string> words = SplitPlacementWords(text);
    FUZZ_CHECK(words == ReferenceWords(text), Escaped(text) + " split differently from the reference");
    std::string joined;
    for (const std::string& word : words) {
        FUZZ_CHECK(!word.empty() && word.find_first_of(" ,") == std::string::npos, Escaped(word));
        joined += joined.empty() ? word : "," + word;
    }
    // Words joined by single commas split into the same words again.
    FUZZ_CHECK(SplitPlacementWords(joined) == words, Escaped(joined) + " does not split back");

    for (std::size_t index = 0; index <= words.size() + 1; ++index) {
        const std::int32_t read = PlacementWordOrDefault(words, index, otherDefault);
        const std::int32_t expected =
            index < words.size() ? ReferenceNumber(words[index]).value_or(otherDefault) : otherDefault;
        FUZZ_CHECK(read == expected, "word " + std::to_string(index) + " of " + Escaped(text));
    }
}

void CheckWrittenForm(const std::int32_t (&numbers)[4])
{
    const std::string text = FormatPlacementNumbers(numbers[0], numbers[1], numbers[2], numbers[3]);
    const std::vector<std::string> words = SplitPlacementWords(text);
    FUZZ_CHECK(words.size() == 4 && text.find(' ') == std::string::npos, Escaped(text));
    for (std::size_t index = 0; index < 4; ++index) {
        // 0 as the default shows a word that failed to read unless the number
        // is 0 itself; the second default tells the two apart.
        FUZZ_CHECK(PlacementWordOrDefault(words, index, 0) == numbers[index] &&
                       PlacementWordOrDefault(words, index, 1) == numbers[index],
                   Escaped(text) + " word " + std::to_string(index));
    }
    FUZZ_CHECK(ScreenSuffix(numbers[0], numbers[1]) ==
                   "(" + std::to_string(numbers[0]) + "x" + std::to_string(numbers[1]) + ")",
               "screen suffix");
}

// "Software\" and the last path element without its last extension.
void CheckApplicationKey(std::string_view path)
{
    const std::string key = ApplicationKeyFromExecutable(path);
    const std::string_view prefix = "Software\\";
    FUZZ_CHECK(key.substr(0, prefix.size()) == prefix, Escaped(key));
    const std::string name = key.substr(prefix.size());
    FUZZ_CHECK(name.find_first_of("\\/:") == std::string::npos, Escaped(path) + " gave " + Escaped(key));

    std::string_view element = path;
    while (!element.empty() && element.find_first_of("\\/:") != std::string_view::npos)
        element.remove_prefix(element.find_first_of("\\/:") + 1);
    const bool whole = element == name && element.find('.') == std::string_view::npos;
    const bool withoutExtension = element.size() > name.size() && element.substr(0, name.size()) == name &&
                                  element[name.size()] == '.' &&
                                  element.substr(name.size() + 1).find('.') == std::string_view::npos;
    FUZZ_CHECK(whole || withoutExtension, Escaped(path) + " gave " + Escaped(key));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text = InputText(data, size);

    std::int32_t numbers[4] = {};
    std::memcpy(numbers, data, std::min(size, sizeof numbers));

    CheckNumber(text, numbers[0]);
    CheckWords(text, numbers[0]);
    CheckWrittenForm(numbers);
    CheckApplicationKey(text);
    return 0;
}
