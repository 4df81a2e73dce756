// velmora-check: checks every log of a contest against the others.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "velmora-check/CheckCommand.h"

int main(int argc, char** argv)
{
    try {
        const std::vector<std::string> args(argv + 1, argv + argc);
        const int status = RunCheck(args, std::cout, std::cerr);
        std::cout.flush();
        if (!std::cout) {
            std::cerr << "velmora-check: the results table could not be written\n";
            return 1;
        }
        return status;
    } catch (const std::exception& failure) {
        std::cerr << "velmora-check: " << failure.what() << '\n';
        return 1;
    }
}
