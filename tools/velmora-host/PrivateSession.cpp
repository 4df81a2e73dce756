#include "velmora-host/PrivateSession.h"

#include <windows.h>

#include <atomic>
#include <stdexcept>

#include "hostkit/HostProcess.h"
#include "hostkit/PluginLibrary.h"
#include "window/Win32Handles.h"

namespace {

constexpr char kFolderPrefix[] = "session-";
constexpr char kLockSuffix[] = ".lock";

std::runtime_error SystemFailure(const std::string& what, DWORD error)
{
    return std::runtime_error(what + ": " + hostkit::SystemMessage(error));
}

// Files and folders below `folder` and the folder itself; false when
// anything is left. A program file that has only just stopped running may
// still be mapped for a moment, hence the retries.
bool RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    const TScopedFind search(FindFirstFileA((folder + "\\*").c_str(), &found));
    if (search.Valid()) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
                continue;
            }
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            for (int attempt = 0; attempt < 40 && !DeleteFileA(path.c_str()); ++attempt) {
                if (GetLastError() == ERROR_FILE_NOT_FOUND)
                    break;
                Sleep(50);
            }
        } while (FindNextFileA(search.Get(), &found));
    }
    return RemoveDirectoryA(folder.c_str()) != FALSE || GetLastError() == ERROR_FILE_NOT_FOUND;
}

// True while some process holds the lock file open.
bool LockIsHeld(const std::string& lockPath)
{
    const TScopedFile probe(CreateFileA(lockPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!probe.Valid())
        return GetLastError() == ERROR_SHARING_VIOLATION;
    return false;
}

std::string UniqueSessionName()
{
    static std::atomic<unsigned> counter{0};
    return kFolderPrefix + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount()) + "-" +
           std::to_string(++counter);
}

// Ctrl+C reaches the copy too, which ends; this process stays to clean up.
BOOL WINAPI OutliveBreak(DWORD event) { return event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT; }

HANDLE InheritableCopy(DWORD which, TScopedKernelHandle& keeper)
{
    const HANDLE original = GetStdHandle(which);
    if (!original || original == INVALID_HANDLE_VALUE)
        return nullptr;
    HANDLE copy = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), original, GetCurrentProcess(), &copy, 0, TRUE, DUPLICATE_SAME_ACCESS))
        return original;
    keeper.Reset(copy);
    return copy;
}

}  // namespace

std::string SessionRootFolder()
{
    char temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(sizeof temp, temp);
    std::string root = length > 0 && length < sizeof temp ? std::string(temp, length) : std::string(".\\");
    if (root.back() != '\\')
        root += '\\';
    return root + "velmora-host-sessions\\";
}

void RemoveAbandonedSessionFolders()
{
    const std::string root = SessionRootFolder();
    WIN32_FIND_DATAA found;
    const TScopedFind search(FindFirstFileA((root + kFolderPrefix + "*").c_str(), &found));
    if (!search.Valid())
        return;
    do {
        std::string name = found.cFileName;
        const bool isLock = name.size() > sizeof kLockSuffix - 1 &&
                            name.compare(name.size() - (sizeof kLockSuffix - 1), std::string::npos, kLockSuffix) == 0;
        if (isLock) {
            // A lock without its folder, left by a session killed between
            // the two; held ones refuse to go.
            if (!LockIsHeld(root + name))
                DeleteFileA((root + name).c_str());
            continue;
        }
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        // The lock is made before its folder, so a folder without a held
        // lock belongs to no live session.
        if (!LockIsHeld(root + name + kLockSuffix))
            RemoveTree(root + name);
    } while (FindNextFileA(search.Get(), &found));
}

std::string ReadWholeFile(const std::string& path, const std::string& what)
{
    // Made before the calls whose error it reports, so nothing runs between
    // a failure and its GetLastError.
    const std::string cannotRead = "cannot read " + what + " " + path;
    const TScopedFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        throw SystemFailure(cannotRead, GetLastError());
    std::string bytes;
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr))
            throw SystemFailure(cannotRead, GetLastError());
        if (got == 0)
            return bytes;
        bytes.append(buffer, got);
    }
}

namespace {

void WriteNewFile(const std::string& path, const std::string& bytes)
{
    const TScopedFile file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file.Valid() || !WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size())
        throw SystemFailure("cannot write the session's member file " + path, GetLastError());
}

std::string CommandLineOf(const std::string& exe, const std::vector<std::string>& args)
{
    std::string line = QuotedArgument(exe);
    for (const std::string& arg : args) {
        line += ' ';
        line += QuotedArgument(arg);
    }
    return line;
}

}  // namespace

std::string QuotedArgument(const std::string& arg)
{
    if (!arg.empty() && arg.find_first_of(" \t\n\v\"") == std::string::npos)
        return arg;
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are escaped, the quote as well.
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

std::vector<std::string> PrivateCopyArguments(const std::vector<std::string>& args, const std::string& plugin)
{
    std::vector<std::string> kept = {"--plugin", plugin};
    bool optionsEnded = false;
    for (std::size_t at = 0; at < args.size(); ++at) {
        const std::string& arg = args[at];
        if (!optionsEnded && (arg == "--members" || arg == "--plugin")) {
            ++at;
            continue;
        }
        if (arg == "--")
            optionsEnded = true;
        kept.push_back(arg);
    }
    return kept;
}

int RunInPrivateFolder(const std::string& memberBytes, const std::vector<std::string>& childArgs)
{
    const std::string root = SessionRootFolder();
    if (!CreateDirectoryA(root.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        throw SystemFailure("cannot create the sessions' folder " + root, GetLastError());

    // The lock first, then the folder: a later start never takes a folder
    // being set up for an abandoned one. Inherited by the copy, it stays held
    // while either process lives, and goes with the last of them.
    const std::string name = UniqueSessionName();
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    const TScopedFile lock(CreateFileA((root + name + kLockSuffix).c_str(), GENERIC_WRITE, 0, &inherited, CREATE_NEW,
                                       FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (!lock.Valid())
        throw SystemFailure("cannot create the session's lock file in " + root, GetLastError());

    const std::string folder = root + name;
    struct TFolderRemoval {
        std::string Folder;
        ~TFolderRemoval() { RemoveTree(Folder); }
    } removal{folder};
    if (!CreateDirectoryA(folder.c_str(), nullptr) || !CreateDirectoryA((folder + "\\Plugins").c_str(), nullptr))
        throw SystemFailure("cannot create the session's folder " + folder, GetLastError());

    const std::string self = hostkit::ExecutablePath();
    const std::string copy = folder + "\\" + self.substr(hostkit::FolderOf(self).size());
    if (!CopyFileA(self.c_str(), copy.c_str(), TRUE))
        throw SystemFailure("cannot copy " + self + " into the session's folder", GetLastError());
    WriteNewFile(folder + "\\Plugins\\VC.dom", memberBytes);

    // Ended with this process: closing the job's last handle, which dying
    // does, ends everything in it.
    const TScopedKernelHandle job(CreateJobObjectA(nullptr, nullptr));
    if (job.Valid()) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }

    TScopedKernelHandle input;
    TScopedKernelHandle output;
    TScopedKernelHandle error;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = InheritableCopy(STD_INPUT_HANDLE, input);
    startup.hStdOutput = InheritableCopy(STD_OUTPUT_HANDLE, output);
    startup.hStdError = InheritableCopy(STD_ERROR_HANDLE, error);
    std::string commandLine = CommandLineOf(copy, childArgs);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(copy.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr, nullptr,
                        &startup, &process))
        throw SystemFailure("cannot start the session's copy " + copy, GetLastError());
    const TScopedKernelHandle child(process.hProcess);
    const TScopedKernelHandle childThread(process.hThread);
    if (job.Valid())
        AssignProcessToJobObject(job.Get(), child.Get());
    SetConsoleCtrlHandler(&OutliveBreak, TRUE);
    ResumeThread(childThread.Get());
    WaitForSingleObject(child.Get(), INFINITE);
    SetConsoleCtrlHandler(&OutliveBreak, FALSE);
    DWORD status = 0;
    if (!GetExitCodeProcess(child.Get(), &status))
        status = 3;
    return static_cast<int>(status);
}
