// Member keys are looked up ignoring letter case by the rules of the user's
// locale; this is that folding on Windows.
#pragma once

#include <string>
#include <string_view>

std::string FoldCaseForUserLocale(std::string_view text);
