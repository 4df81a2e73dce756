// velmora-contest-sim's command line, kept apart from main so the tests can
// run it without a process.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// Exit status: 0 written, 1 the output could not be written, 2 wrong command line.
int RunContestSim(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
