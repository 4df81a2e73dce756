#include "velmora-score/ScoreCommand.h"

#include <optional>

#include "logfiles/LogFile.h"
#include "velmora-score/ScoreLog.h"
#include "velmora-score/ScoreOutput.h"

namespace {

int UsageError(std::ostream& err, const std::string& what)
{
    err << "velmora-score: " << what << "\nTry 'velmora-score --help'.\n";
    return kExitUsage;
}

}  // namespace

std::string ScoreUsageText()
{
    return "Usage: velmora-score [--json] LOG\n"
           "Scores a Velmora Cup log as the plug-in does when it rebuilds its statistics\n"
           "from the host's log table: the contacts are taken in the order of their\n"
           "calls as the host's database sorts them (letter case ignored).\n"
           "\n"
           "  LOG      an ADIF file (.adi, .adif), or a CSV or TSV file (.csv, .tsv, .txt)\n"
           "           whose header row names the log columns: CallSign (required),\n"
           "           DigiBand, QSOMode, QSOReportRecived, Continent, ITUZone,\n"
           "           MainPrefix, DXCCPrefix. Any other name: the content decides.\n"
           "  --json   write the result as one JSON object\n"
           "  --help   show this text\n"
           "\n"
           "Writes the statistics report exactly as the plug-in's window shows it (lines\n"
           "joined by CR LF), a line break, then one line per contact in the log's order:\n"
           "  ROW<TAB>CALL<TAB>BAND<TAB>MODE<TAB>POINTS or duplicate<TAB>MEMBER COUNTED\n"
           "\n"
           "Exit status: 0 when the log was read and scored, 1 when it could not be\n"
           "read, 2 for a wrong command line.\n";
}

int RunScore(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    bool json = false;
    bool optionsEnded = false;
    std::optional<std::string> logPath;
    for (const std::string& arg : args) {
        if (!optionsEnded && (arg == "--help" || arg == "-h")) {
            out << ScoreUsageText();
            return kExitScored;
        }
        if (!optionsEnded && arg == "--json") {
            json = true;
        } else if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            return UsageError(err, "unknown option '" + arg + "'");
        } else if (logPath) {
            return UsageError(err, "one LOG file only, got '" + *logPath + "' and '" + arg + "'");
        } else {
            logPath = arg;
        }
    }
    if (!logPath)
        return UsageError(err, "no LOG file given");

    const TLogReadResult log = LoadLogFile(*logPath);
    if (!log.Ok()) {
        err << "velmora-score: " << log.Error->Message() << '\n';
        return kExitUnreadableLog;
    }
    for (const TLogWarning& warning : log.Warnings)
        err << "velmora-score: " << warning.Message() << '\n';
    const TScoredLog scored = ScoreLogRows(log.Rows);
    if (json)
        WriteJsonResult(out, log.Rows, scored);
    else
        WriteTextResult(out, log.Rows, scored);
    return kExitScored;
}
