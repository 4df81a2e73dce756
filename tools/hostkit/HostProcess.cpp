#include "hostkit/HostProcess.h"

#include <windows.h>

#include "hostkit/HostFiles.h"
#include "window/Win32Handles.h"

#include <cstdio>
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

std::string PlacementKeyPath() { return "Software\\" + HostExeName() + "\\TfmMainForm"; }

void ForgetHostKey(const std::string& exeName)
{
    const std::string key = "Software\\" + exeName;
    RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
}

bool IsSameFile(const std::string& a, const std::string& b)
{
    const auto identify = [](const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
        const TScopedFile file(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        return file.Valid() && GetFileInformationByHandle(file.Get(), &info) != FALSE;
    };
    BY_HANDLE_FILE_INFORMATION first = {};
    BY_HANDLE_FILE_INFORMATION second = {};
    return identify(a, first) && identify(b, second) && first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}

void CreateFolders(const std::string& folder)
{
    for (std::size_t slash = folder.find_first_of("\\/"); slash != std::string::npos;
         slash = folder.find_first_of("\\/", slash + 1))
        if (slash > 0 && folder[slash - 1] != ':')
            CreateDirectoryA(folder.substr(0, slash).c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
}

void DeleteFolderTree(const std::string& folder)
{
    // An empty name would otherwise mean "*" in the working folder.
    if (folder.empty())
        return;
    const std::string prefix = folder.back() == '\\' ? folder : folder + "\\";
    WIN32_FIND_DATAA entry;
    const TScopedFind search(FindFirstFileA((prefix + "*").c_str(), &entry));
    if (search.Valid()) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = prefix + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DeleteFolderTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search.Get(), &entry));
    }
    RemoveDirectoryA(prefix.c_str());
}

bool PlaceOwnExecutable(const std::string& exe)
{
    const std::string self = ExecutablePath();
    // The link an earlier run made to this very program cannot be deleted
    // while it runs (it is the same file), and is what is needed anyway.
    if (IsSameFile(exe, self))
        return true;
    DeleteFileA(exe.c_str());
    return CreateHardLinkA(exe.c_str(), self.c_str(), nullptr) || CopyFileA(self.c_str(), exe.c_str(), FALSE);
}

namespace {
LONG WINAPI PrintCrash(EXCEPTION_POINTERS* info)
{
    std::printf("CRASH: exception %08lX at %p\n", info->ExceptionRecord->ExceptionCode,
                info->ExceptionRecord->ExceptionAddress);
    (void)std::fflush(stdout);
    ExitProcess(3);
}
}  // namespace

void ReportCrashesOnStandardOutput()
{
    (void)std::setvbuf(stdout, nullptr, _IONBF, 0);
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(&PrintCrash);
}

TChildEnd AwaitChild(const PROCESS_INFORMATION& process, unsigned long timeoutMs)
{
    const TScopedKernelHandle thread(process.hThread);
    const TScopedKernelHandle child(process.hProcess);
    TChildEnd end;
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_TIMEOUT) {
        end.TimedOut = true;
        TerminateProcess(process.hProcess, 124);
        WaitForSingleObject(process.hProcess, 5000);
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    end.ExitCode = exitCode;
    return end;
}

TChildRun RunChildProcess(const std::string& exe, const std::string& arguments, const std::string& folder,
                          const std::string& outputPath, unsigned long timeoutMs)
{
    TChildRun run;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    TScopedFile output(CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = output.Get();
    startup.hStdError = output.Get();
    std::string commandLine = "\"" + exe + "\" " + arguments;
    PROCESS_INFORMATION process = {};
    run.Started = CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(),
                                 &startup, &process) != FALSE;
    run.StartError = run.Started ? 0 : GetLastError();
    // The child has its own copy; ours must go so the file is complete.
    output.Reset();
    if (!run.Started)
        return run;
    const TChildEnd end = AwaitChild(process, timeoutMs);
    run.TimedOut = end.TimedOut;
    run.ExitCode = end.ExitCode;
    run.Output = ReadFileBytes(outputPath).value_or("");
    return run;
}

}  // namespace hostkit
