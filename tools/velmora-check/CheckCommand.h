// velmora-check's command line, as a function so that tests can run it
// without starting a process.
#pragma once

#include <ostream>
#include <string>
#include <vector>

inline constexpr int kExitChecked = 0;
inline constexpr int kExitLogsLeftOut = 1;
inline constexpr int kExitUsage = 2;

std::string CheckUsageText();

// Runs `velmora-check ARGS...` (`args` without the program's name): the
// results table goes to `out`, messages, progress and timings to `err`.
int RunCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
