// The reliability suites. Each runs in a process of its own, started from a
// copy of the test executable named after the suite, so it has its own
// registry key for the window's placement and its own Plugins folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace reliability {

struct TOptions {
    std::string DllPath;
    // The random model run: start values and steps per start value.
    std::vector<std::uint32_t> Starts;
    int Steps = 10000;
    // The soak: window cycles and load/unload cycles.
    int Cycles = 1000;
    int ReloadCycles = 100;
    // The allocation sweep: where a restarted process picks up after a
    // crash, as the progress line before the crash gave it.
    std::string ResumeAfter;
};

// Each returns the number of failed checks.
int RunFaultMatrix(const TOptions& options);
int RunAllocationSweep(const TOptions& options);
int RunModelSuite(const TOptions& options);
int RunSoak(const TOptions& options);

// A line the parent keeps to itself unless the process dies after it: it
// says where the run stands, so a crash can be placed and the run resumed.
void Progress(const std::string& where);

}  // namespace reliability
