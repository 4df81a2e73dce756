// How errors raised while the window handles an event reach the user.
#pragma once

#include <windows.h>

#include <string_view>

// A modal error box with the error icon; the window goes on working after it.
void ShowErrorBox(HWND owner, std::string_view message);
