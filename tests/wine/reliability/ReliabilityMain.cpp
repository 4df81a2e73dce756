// reliability_tests.exe: the plug-in under failures, random host sessions
// and long runs, each suite in a fresh process of its own.
//
//   reliability_tests.exe --suite faults     --dll VelmoraCup.dll
//   reliability_tests.exe --suite allocation --dll VelmoraCupWithSeams.dll
//   reliability_tests.exe --suite model      --dll VelmoraCup.dll [--start N]... [--steps M]
//   reliability_tests.exe --suite soak       --dll VelmoraCup.dll [--cycles N] [--reload-cycles N]
//   reliability_tests.exe --list
//
// The parent copies itself to wine-reliability\<Suite>\<Suite>.exe, runs the
// copy with --child and judges it by its exit code: 0 passed, 1 failed
// checks, anything else a crash. A crash is placed by the last progress line
// the child printed; the allocation sweep is then resumed after that point,
// so one crash does not hide the next.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "Checks.h"
#include "SuiteHost.h"
#include "Suites.h"
#include "hostkit/HostFiles.h"
#include "hostkit/HostProcess.h"

namespace {

using reliability::TOptions;

struct TSuite {
    const char* Name;
    const char* ExeName;
    const char* Summary;
    int (*Run)(const TOptions&);
    bool Resumable;
};

const TSuite kSuites[] = {
    {"faults", "RelFaults", "log database failures at every call of a rebuild, on both trigger paths",
     &reliability::RunFaultMatrix, false},
    {"allocation", "RelAllocation", "allocation failures forced inside every export and window event",
     &reliability::RunAllocationSweep, true},
    {"model", "RelModel", "long random host sessions against a reference model", &reliability::RunModelSuite, false},
    {"soak", "RelSoak", "window and load/unload cycles: USER, GDI, handles and memory", &reliability::RunSoak, false},
};

// The test command's runs end well within this; a run with --steps, --cycles
// or --reload-cycles of its own may take as long as it takes.
constexpr DWORD kChildTimeoutMs = 900000;
constexpr int kMostRestarts = 40;

using hostkit::RunChildProcess;
using hostkit::TChildRun;

// Prints the child's output without its progress lines; returns the last
// progress line ("" when there was none).
std::string EchoOutput(const std::string& output)
{
    std::istringstream lines(output);
    std::string line;
    std::string lastProgress;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.rfind("@ ", 0) == 0)
            lastProgress = line.substr(2);
        else
            std::printf("%s\n", line.c_str());
    }
    (void)std::fflush(stdout);
    return lastProgress;
}

int RunSuiteInOwnProcess(const TSuite& suite, const std::string& dllPath, const std::string& passOn)
{
    const std::string folder = hostkit::ExecutableFolder() + "wine-reliability\\" + suite.ExeName + "\\";
    hostkit::CreateFolders(folder);
    const std::string exe = folder + suite.ExeName + ".exe";
    if (!hostkit::PlaceOwnExecutable(exe)) {
        std::printf("FAIL: cannot copy the test executable to %s\n", exe.c_str());
        return 1;
    }

    std::vector<std::string> crashes;
    std::string resumeAfter;
    for (int attempt = 0;; ++attempt) {
        std::string arguments = "--child --suite " + std::string(suite.Name) + " --dll \"" + dllPath + "\"" + passOn;
        if (!resumeAfter.empty())
            arguments += " --resume-after \"" + resumeAfter + "\"";
        const TChildRun run = RunChildProcess(exe, arguments, folder, folder + "output.txt", passOn.empty() ? kChildTimeoutMs : INFINITE);
        if (!run.Started) {
            std::printf("FAIL: cannot start %s (error %lu)\n", exe.c_str(), run.StartError);
            return 1;
        }
        const std::string lastProgress = EchoOutput(run.Output);
        if (!run.TimedOut && (run.ExitCode == 0 || run.ExitCode == 1)) {
            for (const std::string& crash : crashes)
                std::printf("CRASHED: %s\n", crash.c_str());
            const bool passed = run.ExitCode == 0 && crashes.empty();
            std::printf("suite %s: %s\n", suite.Name, passed ? "passed" : "FAILED");
            return passed ? 0 : 1;
        }
        char why[96];
        if (run.TimedOut)
            (void)std::snprintf(why, sizeof why, "timed out after %lu s", kChildTimeoutMs / 1000);
        else
            (void)std::snprintf(why, sizeof why, "process ended with exit code %lu (0x%08lX)", run.ExitCode, run.ExitCode);
        const std::string where = lastProgress.empty() ? "before the first step" : "at " + lastProgress;
        crashes.push_back(std::string(why) + " " + where);
        std::printf("CRASH: %s %s\n", why, where.c_str());
        if (!suite.Resumable || lastProgress.empty() || run.TimedOut || attempt + 1 >= kMostRestarts) {
            for (const std::string& crash : crashes)
                std::printf("CRASHED: %s\n", crash.c_str());
            std::printf("suite %s: FAILED\n", suite.Name);
            return 1;
        }
        std::printf("resuming after %s\n", lastProgress.c_str());
        resumeAfter = lastProgress;
    }
}

int RunSuiteHere(const TSuite& suite, const TOptions& options)
{
    hostkit::ReportCrashesOnStandardOutput();
    hostkit::ForgetHostKey(hostkit::HostExeName());
    reliability::RemoveMemberFile();
    return host::RunCounted([&] { suite.Run(options); });
}

std::uint32_t ParseNumber(const std::string& text)
{
    return static_cast<std::uint32_t>(std::strtoul(text.c_str(), nullptr, 0));
}

}  // namespace

namespace reliability {

void Progress(const std::string& where)
{
    std::printf("@ %s\n", where.c_str());
}

}  // namespace reliability

int main(int argc, char** argv)
{
    TOptions options;
    std::string suiteName;
    std::string passOn;
    bool child = false;
    bool list = false;
    for (int index = 1; index < argc; ++index) {
        const std::string argument = argv[index];
        const bool hasValue = index + 1 < argc;
        if (argument == "--dll" && hasValue)
            options.DllPath = argv[++index];
        else if (argument == "--suite" && hasValue)
            suiteName = argv[++index];
        else if (argument == "--child")
            child = true;
        else if (argument == "--list")
            list = true;
        else if (argument == "--resume-after" && hasValue)
            options.ResumeAfter = argv[++index];
        else if ((argument == "--start" || argument == "--steps" || argument == "--cycles" ||
                  argument == "--reload-cycles") &&
                 hasValue) {
            const std::string value = argv[++index];
            passOn += " " + argument + " " + value;
            if (argument == "--start")
                options.Starts.push_back(ParseNumber(value));
            else if (argument == "--steps")
                options.Steps = static_cast<int>(ParseNumber(value));
            else if (argument == "--cycles")
                options.Cycles = static_cast<int>(ParseNumber(value));
            else
                options.ReloadCycles = static_cast<int>(ParseNumber(value));
        } else {
            (void)std::fprintf(stderr, "unknown argument %s (see the head of ReliabilityMain.cpp)\n", argument.c_str());
            return 2;
        }
    }
    if (list) {
        for (const TSuite& suite : kSuites)
            std::printf("%-12s %s\n", suite.Name, suite.Summary);
        return 0;
    }
    const TSuite* chosen = nullptr;
    for (const TSuite& suite : kSuites)
        if (suiteName == suite.Name)
            chosen = &suite;
    if (!chosen) {
        (void)std::fprintf(stderr, "no suite named '%s' (see --list)\n", suiteName.c_str());
        return 2;
    }
    if (options.DllPath.empty()) {
        (void)std::fprintf(stderr, "--dll PATH is required\n");
        return 2;
    }
    options.DllPath = hostkit::AbsoluteWindowsPath(options.DllPath);
    return child ? RunSuiteHere(*chosen, options) : RunSuiteInOwnProcess(*chosen, options.DllPath, passOn);
}
