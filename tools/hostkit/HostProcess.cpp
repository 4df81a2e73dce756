#include "hostkit/HostProcess.h"

#include <windows.h>

#include "hostkit/HostFiles.h"

#include <vector>

namespace hostkit {

std::string ExecutablePath()
{
    // Paths may exceed MAX_PATH; grow until the name fits.
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size())
            return std::string(path.data(), length);
        path.resize(path.size() * 2);
    }
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ExecutableFolder() { return FolderOf(ExecutablePath()); }

std::string HostExeName()
{
    std::string name = ExecutablePath().substr(ExecutableFolder().size());
    if (const auto dot = name.find_last_of('.'); dot != std::string::npos)
        name.erase(dot);
    return name;
}

std::string PlacementKeyPath() { return "HKCU\\Software\\" + HostExeName() + "\\TfmMainForm"; }

TChildRun RunChildProcess(const std::string& exe, const std::string& arguments, const std::string& folder,
                          const std::string& outputPath, unsigned long timeoutMs)
{
    TChildRun run;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE output = CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = output;
    startup.hStdError = output;
    std::string commandLine = "\"" + exe + "\" " + arguments;
    PROCESS_INFORMATION process = {};
    run.Started = CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(),
                                 &startup, &process) != FALSE;
    run.StartError = run.Started ? 0 : GetLastError();
    if (output != INVALID_HANDLE_VALUE)
        CloseHandle(output);
    if (!run.Started)
        return run;
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_TIMEOUT) {
        run.TimedOut = true;
        TerminateProcess(process.hProcess, 124);
        WaitForSingleObject(process.hProcess, 5000);
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    run.ExitCode = exitCode;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    run.Output = ReadFileBytes(outputPath).value_or("");
    return run;
}

}  // namespace hostkit
