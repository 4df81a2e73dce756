// plugin_wine_tests.exe: without --case it is the driver, which runs every
// case in a process of its own; with --case NAME it runs that one case here.
//
//   plugin_wine_tests.exe --dll PATH            all cases, one process each
//   plugin_wine_tests.exe --dll PATH --case N   case N in this process
//   plugin_wine_tests.exe --list                the cases and what they cover
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "Checks.h"
#include "HostCase.h"
#include "HostSession.h"
#include "hostkit/HostFiles.h"
#include "hostkit/HostProcess.h"

namespace {

constexpr DWORD kCaseTimeoutMs = 60000;

using hostkit::ExecutableFolder;

// The state a case starts from: its Plugins folder with or without the member
// file, and no registry data of its executable.
void PrepareCase(const host::THostCase& hostCase, const std::string& exeFolder, const std::string& exeName)
{
    const std::string plugins = exeFolder + "Plugins\\";
    CreateDirectoryA(plugins.c_str(), nullptr);
    DeleteFileA((plugins + "VC.dom").c_str());
    if (hostCase.Options.MemberFile)
        hostkit::WriteFileBytes(plugins + "VC.dom", *hostCase.Options.MemberFile);
    hostkit::ForgetHostKey(exeName);
}

int RunCaseHere(const host::THostCase& hostCase)
{
    std::printf("case %s: %s\n", hostCase.Name.c_str(), hostCase.Summary.c_str());
    return host::RunCounted(hostCase.Body);
}

struct TCaseOutcome {
    std::string Name;
    bool Passed = false;
    std::string Why;
};

TCaseOutcome RunCaseInOwnProcess(const host::THostCase& hostCase, const std::string& dllPath)
{
    TCaseOutcome outcome{hostCase.Name, false, {}};
    const std::string folder = ExecutableFolder() + "wine-cases\\" + hostCase.Name + "\\";
    hostkit::DeleteFolderTree(folder);
    hostkit::CreateFolders(folder);
    const std::string exeFile = hostCase.Options.ExeName.value_or(hostCase.Name + ".exe");
    const std::string exe = folder + exeFile;
    if (!hostkit::PlaceOwnExecutable(exe)) {
        outcome.Why = "cannot copy the test executable to " + exe;
        return outcome;
    }
    PrepareCase(hostCase, folder, exeFile.substr(0, exeFile.find_last_of('.')));

    const std::string outputPath = folder + "output.txt";
    const hostkit::TChildRun run = hostkit::RunChildProcess(
        exe, "--case " + hostCase.Name + " --prepared --dll \"" + dllPath + "\"", folder, outputPath, kCaseTimeoutMs);
    if (!run.Started) {
        outcome.Why = "cannot start " + exe + " (error " + std::to_string(run.StartError) + ")";
        return outcome;
    }
    if (run.TimedOut)
        outcome.Why = "timed out after " + std::to_string(kCaseTimeoutMs / 1000) + " s (a blocking box or loop?)";
    const unsigned long exitCode = run.ExitCode;

    const std::string& text = run.Output;
    (void)std::fwrite(text.data(), 1, text.size(), stdout);
    if (!text.empty() && text.back() != '\n')
        std::printf("\n");
    if (outcome.Why.empty()) {
        outcome.Passed = exitCode == 0;
        if (!outcome.Passed) {
            char why[64];
            (void)std::snprintf(why, sizeof why, "exit code %lu (0x%08lX)", exitCode, exitCode);
            outcome.Why = why;
        }
    }
    return outcome;
}

int RunAll(const std::string& dllPath, const std::string& filter)
{
    std::vector<TCaseOutcome> outcomes;
    for (const host::THostCase* hostCase : host::OrderedCases()) {
        if (!filter.empty() && hostCase->Name.find(filter) == std::string::npos)
            continue;
        std::printf("=== %s\n", hostCase->Name.c_str());
        (void)std::fflush(stdout);
        outcomes.push_back(RunCaseInOwnProcess(*hostCase, dllPath));
        (void)std::fflush(stdout);
    }
    int passed = 0;
    int failed = 0;
    std::printf("\nSummary:\n");
    for (const TCaseOutcome& outcome : outcomes) {
        std::printf("  %-44s %s%s%s\n", outcome.Name.c_str(), outcome.Passed ? "passed" : "FAILED",
                    outcome.Why.empty() ? "" : ": ", outcome.Why.c_str());
        (outcome.Passed ? passed : failed) += 1;
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    (void)std::fflush(stdout);
    return failed == 0 && passed > 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string dllPath;
    std::string caseName;
    std::string filter;
    bool prepared = false;
    bool list = false;
    for (int index = 1; index < argc; ++index) {
        const std::string argument = argv[index];
        if (argument == "--dll" && index + 1 < argc)
            dllPath = argv[++index];
        else if (argument == "--case" && index + 1 < argc)
            caseName = argv[++index];
        else if (argument == "--filter" && index + 1 < argc)
            filter = argv[++index];
        else if (argument == "--prepared")
            prepared = true;
        else if (argument == "--list")
            list = true;
        else if (dllPath.empty() && argument.rfind("--", 0) != 0)
            dllPath = argument;
        else {
            (void)std::fprintf(stderr, "unknown argument %s\n", argument.c_str());
            return 2;
        }
    }

    if (list) {
        for (const host::THostCase* hostCase : host::OrderedCases())
            std::printf("%-44s %s\n", hostCase->Name.c_str(), hostCase->Summary.c_str());
        return 0;
    }
    if (dllPath.empty())
        dllPath = ExecutableFolder() + "VelmoraCup.dll";
    // An absolute path, since each case runs from its own folder.
    dllPath = hostkit::AbsoluteWindowsPath(dllPath);
    host::SetPluginPath(dllPath);

    if (caseName.empty())
        return RunAll(dllPath, filter);

    const host::THostCase* hostCase = host::FindCase(caseName);
    if (!hostCase) {
        (void)std::fprintf(stderr, "no case named %s (see --list)\n", caseName.c_str());
        return 2;
    }
    hostkit::ReportCrashesOnStandardOutput();
    if (!prepared)
        PrepareCase(*hostCase, ExecutableFolder(), hostkit::HostExeName());
    return RunCaseHere(*hostCase);
}
