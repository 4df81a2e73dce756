// Running velmora-host and velmora-score as a shell would: a process of their
// own with the given standard input, their output, errors and exit status
// captured.
#pragma once

#include <string>
#include <vector>

#include "hostkit/HostFiles.h"

namespace hostsim {

struct TProgramRun {
    unsigned long ExitCode = 0;
    std::string Out;
    // With CR LF as LF: the programs write their messages in text mode, as
    // the C runtime does for a console.
    std::string Err;
    bool TimedOut = false;
};

using hostkit::PathExists;
using hostkit::WindowsPath;

// The file's bytes, "" when there is none.
std::string FileText(const std::string& path);
// Writes the file or throws std::runtime_error.
void PutFile(const std::string& path, const std::string& bytes);

// `exe` with `args` (quoted as the C runtime splits them), started in
// `folder`; `input` is its whole standard input. Ends it after `timeoutMs`.
TProgramRun RunProgram(const std::string& exe, const std::vector<std::string>& args, const std::string& input = "",
                       unsigned long timeoutMs = 120000);

// The folder of this test program, with its trailing backslash.
std::string TestFolder();

// The name velmora-host runs under in the tests, which also names its
// registry key: the tests' placement of the window is theirs alone.
inline constexpr char kHostName[] = "velmora-host-under-test";

// A folder of the tests' own, holding a copy of velmora-host.exe (named
// kHostName) with the plug-in in its Plugins\ folder, so that the member
// files the tests put there touch nobody else's. Its path ends in a
// backslash.
const std::string& HostFolder();
// The copy in HostFolder() with `args`.
TProgramRun RunHost(const std::vector<std::string>& args, const std::string& input = "");
// The Windows velmora-score.exe of this build.
TProgramRun RunScore(const std::vector<std::string>& args);
// A scratch file in the host folder.
std::string ScratchPath(const std::string& name);

// The report part of velmora-score's text output: everything before the
// first line feed that no carriage return precedes (the report's own lines
// end in CR LF).
std::string ReportOfScoreOutput(const std::string& output);

// Text with its control characters spelled out, for messages that show
// where two reports differ.
std::string Visible(const std::string& text);

}  // namespace hostsim
