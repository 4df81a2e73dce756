#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "contest-sim/SimCommand.h"

int main(int argc, char** argv)
{
    try {
        return RunContestSim(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
    } catch (const std::exception& failure) {
        std::cerr << "velmora-contest-sim: " << failure.what() << '\n';
        return 1;
    }
}
