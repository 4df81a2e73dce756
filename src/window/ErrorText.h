// The text of an error as the window shows it to the user.
#pragma once

#include <string>
#include <string_view>

// A full stop is added unless the text already ends with "." or a character
// that sorts before it.
std::string ErrorBoxText(std::string_view message);
