// The host's own program file, which decides two things for the plug-in: its
// folder holds the member file (Plugins\VC.dom), and its name without the
// extension names the registry key of the window's placement.
#pragma once

#include <string>

namespace hostkit {

// The full path of the running executable.
std::string ExecutablePath();
// The folder part of a path, with its trailing separator ("" when none).
std::string FolderOf(const std::string& path);
// The executable's folder with its trailing backslash.
std::string ExecutableFolder();
// The executable's file name without folder and last extension: the
// placement's key under HKCU\Software.
std::string HostExeName();
// "HKCU\Software\<HostExeName()>\TfmMainForm"
std::string PlacementKeyPath();

// A program run to its end (or killed after `timeoutMs`, exit code 124),
// with its standard output and error together in `outputPath`.
struct TChildRun {
    bool Started = false;
    bool TimedOut = false;
    unsigned long ExitCode = 0;
    unsigned long StartError = 0;  // GetLastError when it did not start
    std::string Output;
};
TChildRun RunChildProcess(const std::string& exe, const std::string& arguments, const std::string& folder,
                          const std::string& outputPath, unsigned long timeoutMs);

}  // namespace hostkit
