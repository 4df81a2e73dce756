#include "velmora-host/HostOptions.h"

namespace {

THostCommandLine Refused(std::string why)
{
    THostCommandLine refused;
    refused.Error = std::move(why);
    return refused;
}

}  // namespace

std::string HostVersionText() { return std::string("velmora-host ") + VELMORA_HOST_VERSION + "\n"; }

std::string HostUsageText()
{
    return "Usage: velmora-host [OPTIONS] score LOG\n"
           "       velmora-host [OPTIONS] replay LOG\n"
           "       velmora-host [OPTIONS] interactive [LOG]\n"
           "Runs the Velmora Cup plug-in as the host logger does: the log is kept in a\n"
           "table in memory and served to the plug-in through the host's database\n"
           "connection, and the plug-in's six entry points are called on the host's\n"
           "user-interface thread.\n"
           "\n"
           "Commands:\n"
           "  score LOG        open the statistics window over LOG (it rebuilds from the\n"
           "                   table) and print the window's report exactly as it stands\n"
           "  replay LOG       start from an empty table and log LOG's contacts one by one\n"
           "                   as an operator would (_GetScore, then _AddQSO, then the\n"
           "                   contact goes into the table), printing each preview and\n"
           "                   result; then press \"Recalc Statistic\" and check that the\n"
           "                   rebuild gives the same tallies as live logging\n"
           "  interactive [LOG]\n"
           "                   a prompt on standard input, the log table holding LOG's\n"
           "                   contacts (or none); type 'help' there for its commands\n"
           "\n"
           "LOG is an ADIF, Cabrillo or CSV/TSV log, its format decided by its content\n"
           "(a CSV or TSV header row names the log columns: CallSign, DigiBand,\n"
           "QSOMode, QSOReportRecived, Continent, ITUZone, MainPrefix, DXCCPrefix).\n"
           "\n"
           "Options:\n"
           "  --plugin PATH      the plug-in DLL (default: Plugins\\VelmoraCup.dll in this\n"
           "                     program's folder)\n"
           "  --members FILE     use FILE as the member file for this session: the\n"
           "                     plug-in runs from a private copy of this program in a\n"
           "                     folder of its own under %TEMP%, with FILE as its\n"
           "                     Plugins\\VC.dom; no file of yours is written, even when\n"
           "                     the session is killed\n"
           "  --screenshot FILE  save a PNG picture of the statistics window (score and\n"
           "                     replay)\n"
           "  --table NAME       the log table's name (default QSOs)\n"
           "  --help             show this text\n"
           "  --version          show the version\n"
           "\n"
           "Standard output carries the results only. Progress, problems and the\n"
           "message boxes the plug-in shows (printed as \"plug-in message: ...\" and\n"
           "dismissed) go to standard error. The plug-in keeps its window placement\n"
           "under HKEY_CURRENT_USER\\Software\\<this program's name>\\TfmMainForm.\n"
           "\n"
           "Exit status: 0 done; 1 the log cannot be read; 2 wrong command line; 3 the\n"
           "plug-in is missing, cannot be loaded or opens no window, the member file\n"
           "cannot be read, or the picture cannot be saved; 4 the plug-in showed an\n"
           "error message, or its rebuild disagrees with live logging.\n";
}

THostCommandLine ParseHostCommandLine(const std::vector<std::string>& args)
{
    THostOptions options;
    std::vector<std::string> words;
    bool optionsEnded = false;
    for (std::size_t at = 0; at < args.size(); ++at) {
        const std::string& arg = args[at];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            words.push_back(arg);
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            THostCommandLine help;
            help.Help = true;
            return help;
        }
        if (arg == "--version") {
            THostCommandLine version;
            version.Version = true;
            return version;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::optional<std::string>* target = nullptr;
        if (arg == "--plugin")
            target = &options.PluginPath;
        else if (arg == "--members")
            target = &options.MembersPath;
        else if (arg == "--screenshot")
            target = &options.ScreenshotPath;
        else if (arg != "--table")
            return Refused("unknown option '" + arg + "'");
        if (at + 1 >= args.size() || args[at + 1].empty())
            return Refused("option '" + arg + "' needs a value");
        const std::string& value = args[++at];
        if (target)
            *target = value;
        else
            options.Table = value;
    }

    if (words.empty())
        return Refused("no command given (score, replay or interactive)");
    const std::string& command = words.front();
    if (command == "score")
        options.Command = THostCommand::Score;
    else if (command == "replay")
        options.Command = THostCommand::Replay;
    else if (command == "interactive")
        options.Command = THostCommand::Interactive;
    else
        return Refused("unknown command '" + command + "'");

    if (words.size() > 2)
        return Refused("one LOG file only, got '" + words[1] + "' and '" + words[2] + "'");
    if (words.size() == 2)
        options.LogPath = words[1];
    else if (options.Command != THostCommand::Interactive)
        return Refused("'" + command + "' needs a LOG file");
    if (options.ScreenshotPath && options.Command == THostCommand::Interactive)
        return Refused("--screenshot goes with score and replay");

    THostCommandLine parsed;
    parsed.Options = std::move(options);
    return parsed;
}
