// The text rules of the placement store: how its registry texts turn into
// numbers and back, and how the registry key is named. No Windows API here,
// so the rules are tested natively.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Converts a stored text to a 32-bit signed number, or gives defaultValue.
// Leading spaces are skipped. Then either an optional "-" or "+" and decimal
// digits (-2147483648 to 2147483647), or one of the prefixes "$", "x", "X",
// "0x", "0X" and hexadecimal digits. A hexadecimal text spells out the 32 bits
// of the number, so "$FFFFFFFF" is -1 and "$80000000" is -2147483648; only
// one that needs more than 32 bits is out of range. Anything else (no digits,
// a sign before a hexadecimal prefix, trailing characters, trailing spaces
// included) gives the default.
std::int32_t ReadPlacementNumber(std::string_view text, std::int32_t defaultValue);

// The words of a "MinMaxPos" or "NormPos" text: the runs of characters
// between runs of spaces and commas. Separators at either end make no word.
std::vector<std::string> SplitPlacementWords(std::string_view text);

// Word number `index` (counting from 0) read as a number, or defaultValue
// when the text has no such word or the word is no number.
std::int32_t PlacementWordOrDefault(const std::vector<std::string>& words,
                                    std::size_t index, std::int32_t defaultValue);

// "%d,%d,%d,%d": the form of both position values.
std::string FormatPlacementNumbers(std::int32_t first, std::int32_t second,
                                   std::int32_t third, std::int32_t fourth);

// "(%dx%d)": appended to the position value names so that placements for
// several screen sizes can stand side by side.
std::string ScreenSuffix(std::int32_t width, std::int32_t height);

// "Software\" and the executable's file name without its folder and its last
// extension: "C:\Logs\My.Logger.exe" gives "Software\My.Logger". Both "\" and
// "/" separate folders, and so does the ":" of a drive.
std::string ApplicationKeyFromExecutable(std::string_view executablePath);
