#include "HostProgram.h"

#include <windows.h>

#include <stdexcept>

#include "hostkit/HostProcess.h"
#include "window/Win32Handles.h"

namespace hostsim {

std::string FileText(const std::string& path) { return hostkit::ReadFileBytes(path).value_or(""); }

void PutFile(const std::string& path, const std::string& bytes)
{
    if (!hostkit::WriteFileBytes(path, bytes))
        throw std::runtime_error("cannot write " + path);
}

namespace {

// The quoting the C runtime undoes when it splits a command line.
std::string Quoted(const std::string& arg)
{
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos)
        return arg;
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

// A file the child process inherits as one of its standard handles.
TScopedFile InheritedFile(const std::string& path, DWORD access, DWORD disposition)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    TScopedFile file(CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, disposition,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        throw std::runtime_error("cannot open " + path);
    return file;
}

void CopyOrFail(const std::string& from, const std::string& to)
{
    if (!CopyFileA(from.c_str(), to.c_str(), FALSE))
        throw std::runtime_error("cannot copy " + from + " to " + to);
}

}  // namespace

TProgramRun RunProgram(const std::string& exe, const std::vector<std::string>& args, const std::string& input,
                       unsigned long timeoutMs)
{
    // Files rather than pipes: nothing can fill up and stall the child.
    static int runs = 0;
    const std::string stem = ScratchPath("run" + std::to_string(++runs));
    PutFile(stem + ".in", input);
    TProgramRun run;
    {
        const TScopedFile in = InheritedFile(stem + ".in", GENERIC_READ, OPEN_EXISTING);
        const TScopedFile out = InheritedFile(stem + ".out", GENERIC_WRITE, CREATE_ALWAYS);
        const TScopedFile err = InheritedFile(stem + ".err", GENERIC_WRITE, CREATE_ALWAYS);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = in.Get();
        startup.hStdOutput = out.Get();
        startup.hStdError = err.Get();
        std::string commandLine = Quoted(exe);
        for (const std::string& arg : args) {
            commandLine += ' ';
            commandLine += Quoted(arg);
        }
        PROCESS_INFORMATION process = {};
        if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, HostFolder().c_str(),
                            &startup, &process))
            throw std::runtime_error("cannot start " + exe + " (error " + std::to_string(GetLastError()) + ")");
        const hostkit::TChildEnd end = hostkit::AwaitChild(process, timeoutMs);
        run.TimedOut = end.TimedOut;
        run.ExitCode = end.ExitCode;
    }
    run.Out = FileText(stem + ".out");
    for (char c : FileText(stem + ".err"))
        if (c != '\r')
            run.Err += c;
    return run;
}

std::string TestFolder() { return hostkit::ExecutableFolder(); }

namespace {

// The window's placement for the copy under test, under its own name: away
// from where the plug-in's windows of other programs stand by default
// (left 975, top 138), so that a picture of it shows it alone, at its
// designed size.
void PlaceTheWindow()
{
    const std::string application = std::string("Software\\") + kHostName;
    RegDeleteTreeA(HKEY_CURRENT_USER, application.c_str());
    TScopedRegKey section;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, (application + "\\TfmMainForm").c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                        section.Receive(), nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create the placement key of " + application);
    const char normalPosition[] = "24,560,373,756";
    RegSetValueExA(section.Get(), "NormPos", 0, REG_SZ, reinterpret_cast<const BYTE*>(normalPosition),
                   sizeof normalPosition);
}

}  // namespace

const std::string& HostFolder()
{
    static const std::string folder = [] {
        std::string path = TestFolder() + "hostsim-work\\";
        CreateDirectoryA(path.c_str(), nullptr);
        CreateDirectoryA((path + "Plugins").c_str(), nullptr);
        CopyOrFail(WindowsPath(VELMORA_HOST_EXE), path + kHostName + ".exe");
        CopyOrFail(WindowsPath(VELMORA_PLUGIN_DLL), path + "Plugins\\VelmoraCup.dll");
        DeleteFileA((path + "Plugins\\VC.dom").c_str());
        PlaceTheWindow();
        return path;
    }();
    return folder;
}

TProgramRun RunHost(const std::vector<std::string>& args, const std::string& input)
{
    return RunProgram(HostFolder() + kHostName + ".exe", args, input);
}

TProgramRun RunScore(const std::vector<std::string>& args)
{
    return RunProgram(WindowsPath(VELMORA_SCORE_EXE), args);
}

std::string ScratchPath(const std::string& name) { return HostFolder() + name; }

std::string ReportOfScoreOutput(const std::string& output)
{
    for (std::size_t at = output.find('\n'); at != std::string::npos; at = output.find('\n', at + 1))
        if (at == 0 || output[at - 1] != '\r')
            return output.substr(0, at);
    return output;
}

std::string Visible(const std::string& text)
{
    std::string visible;
    for (char c : text) {
        if (c == '\t')
            visible += "\\t";
        else if (c == '\r')
            visible += "\\r";
        else if (c == '\n')
            visible += "\\n\n";
        else
            visible += c;
    }
    return visible;
}

}  // namespace hostsim
