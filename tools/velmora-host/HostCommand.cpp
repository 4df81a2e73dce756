// From the command line to a command: a session with its own member file
// runs from a private copy of this program (see PrivateSession.h); otherwise
// the log is read before anything else (a log that cannot be read costs no
// plug-in load), then the plug-in is loaded and the command runs.
#include <windows.h>

#include <memory>
#include <optional>
#include <stdexcept>

#include "hostkit/HostFiles.h"
#include "hostkit/HostProcess.h"
#include "hostkit/HostWindows.h"
#include "hostkit/WindowSnapshot.h"
#include "logfiles/LogFile.h"
#include "velmora-host/HostCommands.h"
#include "velmora-host/PluginFile.h"
#include "velmora-host/PrivateSession.h"

std::string VerdictText(int result) { return result < 0 ? std::string("duplicate") : std::to_string(result); }

std::string PluginMessageLine(const hostkit::TCaughtBox& box)
{
    std::string text;
    for (char c : box.Text) {
        if (c == '\n')
            text += " / ";
        else if (c != '\r')
            text += c;
    }
    return "plug-in message: " + text;
}

bool SaveScreenshotIfAsked(const hostkit::THostSession& host, const THostContext& context)
{
    if (!context.Options.ScreenshotPath)
        return true;
    const std::string& path = *context.Options.ScreenshotPath;
    try {
        // A window that stands partly off the screen would come out cut; the
        // placement the plug-in stores may well put it there.
        hostkit::BringFullyOnScreen(host.Window);
        if (!hostkit::SaveWindowPng(host.Window, path))
            context.Err << "velmora-host: warning: another window covers part of the statistics window in the "
                           "picture\n";
    } catch (const std::exception& error) {
        context.Err << "velmora-host: no picture of the statistics window: " << error.what() << "\n";
        return false;
    }
    context.Err << "velmora-host: picture of the statistics window saved to " << path << "\n";
    return true;
}

namespace {

int UsageError(std::ostream& err, const std::string& what)
{
    err << "velmora-host: " << what << "\nTry 'velmora-host --help'.\n";
    return kExitUsage;
}

int Dispatch(hostkit::THostSession& host, const THostContext& context, std::istream& in)
{
    switch (context.Options.Command) {
    case THostCommand::Score: return ScoreLog(host, context);
    case THostCommand::Replay: return ReplayLog(host, context);
    case THostCommand::Interactive: return RunInteractive(host, context, in);
    }
    return kExitUsage;
}

}  // namespace

namespace {

std::string FullPath(const std::string& path)
{
    char full[MAX_PATH * 4];
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return length > 0 && length < sizeof full ? std::string(full, length) : path;
}

// A picture into a folder that does not exist is refused before any work.
std::optional<std::string> ScreenshotProblem(const std::string& path)
{
    const std::string folder = hostkit::FolderOf(hostkit::WindowsPath(path));
    if (folder.empty() || hostkit::PathExists(folder))
        return std::nullopt;
    return "no picture of the statistics window can be saved to " + path + ": the folder " + folder +
           " does not exist";
}

}  // namespace

int RunHost(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err)
{
    const THostCommandLine commandLine = ParseHostCommandLine(args);
    if (commandLine.Help) {
        out << HostUsageText();
        return kExitOk;
    }
    if (commandLine.Version) {
        out << HostVersionText();
        return kExitOk;
    }
    if (!commandLine.Options)
        return UsageError(err, commandLine.Error);
    const THostOptions& options = *commandLine.Options;
    RemoveAbandonedSessionFolders();

    if (options.ScreenshotPath) {
        if (const auto problem = ScreenshotProblem(*options.ScreenshotPath)) {
            err << "velmora-host: " << *problem << "\n";
            return kExitHostFailure;
        }
    }
    const std::string pluginPath =
        options.PluginPath.value_or(hostkit::ExecutableFolder() + "Plugins\\VelmoraCup.dll");

    if (options.MembersPath) {
        try {
            const std::string members = ReadWholeFile(*options.MembersPath, "the member file");
            err << "velmora-host: member file " << *options.MembersPath
                << " for this session only (the plug-in runs from a private copy of this program)\n"
                << std::flush;
            return RunInPrivateFolder(members, PrivateCopyArguments(args, FullPath(pluginPath)));
        } catch (const std::exception& error) {
            err << "velmora-host: " << error.what() << "\n";
            return kExitHostFailure;
        }
    }

    std::vector<TLogRow> rows;
    if (options.LogPath) {
        TLogReadResult log = LoadLogFile(*options.LogPath);
        if (!log.Ok()) {
            err << "velmora-host: " << log.Error->Message() << "\n";
            return kExitUnreadableLog;
        }
        // What the reader did not take as written is said before the log is
        // served, so a surprising report can be traced to its line.
        for (const TLogWarning& warning : log.Warnings)
            err << "velmora-host: " << warning.Message() << "\n";
        rows = std::move(log.Rows);
    }

    hostkit::TSessionSettings settings;
    settings.PluginPath = pluginPath;
    settings.Table = options.Table;
    settings.CaptionPrefix = "velmora-host";
    settings.ReleaseAtShutdown = true;
    const THostContext context{options, rows, out, err};
    try {
        // Standard output carries the results only; what the plug-in says
        // goes with the other messages, as it happens.
        std::optional<hostkit::THostSession> loaded;
        try {
            loaded.emplace(settings);
        } catch (const hostkit::TPluginLoadError& error) {
            err << "velmora-host: " << PluginLoadMessage(settings.PluginPath, error.what()) << "\n";
            return kExitHostFailure;
        }
        hostkit::THostSession& host = *loaded;
        host.Boxes.OnCaught(
            [&err](const hostkit::TCaughtBox& box) { err << PluginMessageLine(box) << "\n" << std::flush; });
        const hostkit::TPluginIdentity identity = host.Plugin().Identity();
        err << "velmora-host: plug-in " << identity.Name << " (" << identity.Kind << ") from " << settings.PluginPath
            << "\n";
        for (const std::string& mismatch : host.Plugin().OrdinalMismatches())
            err << "velmora-host: warning: " << mismatch << "\n";
        return Dispatch(host, context, in);
    } catch (const std::exception& error) {
        err << "velmora-host: " << error.what() << "\n";
        return kExitHostFailure;
    }
}
