// velmora-score's command line, as a function so that tests can run it
// without starting a process.
#pragma once

#include <ostream>
#include <string>
#include <vector>

inline constexpr int kExitScored = 0;
inline constexpr int kExitUnreadableLog = 1;
inline constexpr int kExitUsage = 2;

// The text --help prints.
std::string ScoreUsageText();

// The text --version prints.
std::string ScoreVersionText();

// Runs `velmora-score ARGS...` (`args` without the program's name): the
// result goes to `out`, messages to `err`. Returns the exit status.
int RunScore(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
