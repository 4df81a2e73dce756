// velmora-score: scores a contest log file as the plug-in would.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "velmora-score/ScoreCommand.h"

int main(int argc, char** argv)
{
#ifdef _WIN32
    // The report's lines end in CR LF already; text mode would make them
    // CR CR LF. The output is the same bytes on every platform.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = RunScore(args, std::cout, std::cerr);
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "velmora-score: the result could not be written\n";
        return 1;
    }
    return status;
}
