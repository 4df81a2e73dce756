// From the command line to a command: the log is read before anything else
// (a log that cannot be read costs no plug-in load), the member file is put
// in place before the plug-in can read it, and the host lives inside that,
// so the plug-in is released before the member file is put back.
#include <memory>
#include <optional>
#include <stdexcept>

#include "hostkit/HostProcess.h"
#include "hostkit/HostWindows.h"
#include "hostkit/WindowSnapshot.h"
#include "logfiles/LogFile.h"
#include "velmora-host/HostCommands.h"
#include "velmora-host/MemberFileInstall.h"

std::string VerdictText(int result) { return result < 0 ? std::string("duplicate") : std::to_string(result); }

bool SaveScreenshotIfAsked(const THostSimulator& host, const THostContext& context)
{
    if (!context.Options.ScreenshotPath)
        return true;
    const std::string& path = *context.Options.ScreenshotPath;
    try {
        // A window that stands partly off the screen would come out cut; the
        // placement the plug-in stores may well put it there.
        hostkit::BringFullyOnScreen(host.Window());
        if (!hostkit::SaveWindowPng(host.Window(), path))
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

int Dispatch(THostSimulator& host, const THostContext& context, std::istream& in)
{
    switch (context.Options.Command) {
    case THostCommand::Score: return ScoreLog(host, context);
    case THostCommand::Replay: return ReplayLog(host, context);
    case THostCommand::Interactive: return RunInteractive(host, context, in);
    }
    return kExitUsage;
}

}  // namespace

int RunHost(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err)
{
    const THostCommandLine commandLine = ParseHostCommandLine(args);
    if (commandLine.Help) {
        out << HostUsageText();
        return kExitOk;
    }
    if (!commandLine.Options)
        return UsageError(err, commandLine.Error);
    const THostOptions& options = *commandLine.Options;

    std::vector<TLogRow> rows;
    if (options.LogPath) {
        TLogReadResult log = LoadLogFile(*options.LogPath);
        if (!log.Ok()) {
            err << "velmora-host: " << log.Error->Message() << "\n";
            return kExitUnreadableLog;
        }
        rows = std::move(log.Rows);
    }

    THostSettings settings;
    settings.PluginPath = options.PluginPath.value_or(hostkit::ExecutableFolder() + "Plugins\\VelmoraCup.dll");
    settings.Table = options.Table;
    const THostContext context{options, rows, out, err};
    try {
        std::optional<TMemberFileInstall> members;
        if (options.MembersPath)
            members.emplace(*options.MembersPath, hostkit::ExecutableFolder() + "Plugins\\VC.dom");
        // Printed where the results go, in the order they happen.
        THostSimulator host(settings, [&out](const hostkit::TCaughtBox& box) {
            out << PluginMessageLine(box) << "\n" << std::flush;
        });
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
