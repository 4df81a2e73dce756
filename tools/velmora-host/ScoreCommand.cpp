// score: the log as the logger has it open, the statistics window shown over
// it, and the window's report printed exactly as it stands.
#include "hostkit/HostWindows.h"
#include "velmora-host/HostCommands.h"
#include "velmora-host/ProgressLine.h"

int ScoreLog(hostkit::THostSession& host, const THostContext& context)
{
    host.AddRows(context.Rows);
    context.Err << "velmora-host: " << context.Rows.size() << " contacts from " << *context.Options.LogPath
                << " in table " << context.Options.Table << "\n";

    HWND window = nullptr;
    {
        TBusyLine busy(context.Err, "the plug-in rebuilds its statistics from " + std::to_string(context.Rows.size()) +
                                        " contacts");
        window = host.Run();
        hostkit::PumpMessages();
    }
    if (!window) {
        context.Err << "velmora-host: the plug-in opened no window\n";
        return kExitHostFailure;
    }
    context.Out << host.Report() << "\n" << std::flush;

    if (!SaveScreenshotIfAsked(host, context))
        return kExitHostFailure;
    if (host.Boxes.CaughtCount() > 0) {
        context.Err << "velmora-host: the plug-in showed " << host.Boxes.CaughtCount()
                    << " message(s); the report may be incomplete\n";
        return kExitPluginTrouble;
    }
    return kExitOk;
}
