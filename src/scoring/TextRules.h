// The few text rules every subsystem shares. Texts are single-byte strings;
// nothing here depends on a locale.
#pragma once

#include <string>
#include <string_view>

// Character by character as unsigned 8-bit codes; a leading part sorts first.
// Returns <0, 0 or >0.
int OrdinalCompare(std::string_view a, std::string_view b);

// Only the letters a-z become A-Z; every other code, those above 127
// included, stays as it is.
std::string UpperAsciiLetters(std::string_view text);

// Removes every leading and trailing character with a code from 0 to 32.
std::string_view TrimControlAndSpace(std::string_view text);

// A case folding for member keys. The platform supplies one that follows the
// user's locale; FoldAsciiCase is the portable default.
using CaseFolder = std::string (*)(std::string_view);
std::string FoldAsciiCase(std::string_view text);
