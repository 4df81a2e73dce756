// velmora-host: the host logger simulator that runs the plug-in on a log.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "velmora-host/HostCommands.h"

int main(int argc, char** argv)
{
    // The report's lines end in CR LF already; text mode would make them
    // CR CR LF. The output is the bytes the window holds.
    _setmode(_fileno(stdout), _O_BINARY);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = RunHost(args, std::cin, std::cout, std::cerr);
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "velmora-host: the result could not be written\n";
        return 1;
    }
    return status;
}
