// The host's own program file, which decides two things for the plug-in: its
// folder holds the member file (Plugins\VC.dom), and its name without the
// extension names the registry key of the window's placement.
#pragma once

#include <windows.h>

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
// "Software\<HostExeName()>\TfmMainForm", below HKEY_CURRENT_USER.
std::string PlacementKeyPath();
// Removes HKCU\Software\<exeName> with everything below it, so the next
// window of that host starts from no stored placement.
void ForgetHostKey(const std::string& exeName);

// Two names of one file: the same volume and file index.
bool IsSameFile(const std::string& a, const std::string& b);
// Creates the folder and any missing folder above it.
void CreateFolders(const std::string& folder);
// Removes the folder with everything in it, as far as it can: a file in use
// stays (an empty name removes nothing).
void DeleteFolderTree(const std::string& folder);
// This very program under another name (a hard link, or a copy where links
// are not possible), so a child process of its own has its own executable
// name, registry key and Plugins folder. False when it cannot be placed.
bool PlaceOwnExecutable(const std::string& exe);
// From here on a crash prints "CRASH: exception ... at ..." on standard
// output and ends the process with exit code 3, instead of a dialog that
// waits for a user; standard output is unbuffered, so a parent reading it
// sees every line printed before the crash.
void ReportCrashesOnStandardOutput();

// A program run to its end (or killed after `timeoutMs`, exit code 124),
// with its standard output and error together in `outputPath`.
struct TChildRun {
    bool Started = false;
    bool TimedOut = false;
    unsigned long ExitCode = 0;
    unsigned long StartError = 0;  // GetLastError when it did not start
    std::string Output;
};
// Waits for a started process to end, killing it (exit code 124) after
// `timeoutMs`; the process's and its thread's handles are closed.
struct TChildEnd {
    bool TimedOut = false;
    unsigned long ExitCode = 0;
};
TChildEnd AwaitChild(const PROCESS_INFORMATION& process, unsigned long timeoutMs);
TChildRun RunChildProcess(const std::string& exe, const std::string& arguments, const std::string& folder,
                          const std::string& outputPath, unsigned long timeoutMs);

}  // namespace hostkit
