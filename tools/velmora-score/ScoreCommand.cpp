#include "velmora-score/ScoreCommand.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "logfiles/LogFile.h"
#include "logfiles/TextEncoding.h"
#include "velmora-score/ScoreLog.h"
#include "velmora-score/ScoreOutput.h"
#include "velmora-score/ScoreTable.h"

#ifndef VELMORA_SCORE_VERSION
#define VELMORA_SCORE_VERSION "unknown"
#endif

namespace {

enum class TOutputForm { Text, Json, Csv };

struct TCommandLine {
    TOutputForm Form = TOutputForm::Text;
    bool Table = false;
    std::vector<std::string> Logs;
};

int UsageError(std::ostream& err, const std::string& what)
{
    err << "velmora-score: " << Utf8OfLogText(what) << "\nTry 'velmora-score --help'.\n";
    return kExitUsage;
}

void Report(std::ostream& err, const std::string& message) { err << "velmora-score: " << Utf8OfLogText(message) << '\n'; }

}  // namespace

std::string ScoreVersionText() { return std::string("velmora-score ") + VELMORA_SCORE_VERSION + "\n"; }

std::string ScoreUsageText()
{
    return "Usage: velmora-score [--json] LOG\n"
           "       velmora-score [--json | --csv] LOG... | FOLDER...\n"
           "Scores Velmora Cup logs as the plug-in does when it rebuilds its statistics\n"
           "from the host's log table: the contacts are taken in the order of their\n"
           "calls as the host's database sorts them (letter case ignored).\n"
           "\n"
           "  LOG      a log file, or - for standard input. The content decides the\n"
           "           format (the file's name only settles what it leaves open):\n"
           "           ADIF; Cabrillo 2.0 or 3.0 (QSO: lines; X-QSO: lines are read\n"
           "           and not scored); or CSV or TSV whose header row names the log\n"
           "           columns: CallSign or call (required), DigiBand or band, QSOMode\n"
           "           or mode, QSOReportRecived or rcvd or exchange, Continent,\n"
           "           ITUZone, MainPrefix, DXCCPrefix, and freq for the band of a\n"
           "           contact without one.\n"
           "  FOLDER   its log files (.log .cbr .cabrillo .adi .adif .csv .tsv .txt),\n"
           "           hidden ones left out, in the order of names\n"
           "  --json   write the result as one JSON object (UTF-8)\n"
           "  --csv    write the results table as CSV (UTF-8)\n"
           "  --table  the results table even for one log\n"
           "  --version  show the program's version\n"
           "  --help   show this text\n"
           "\n"
           "One LOG: writes the statistics report exactly as the plug-in's window shows\n"
           "it (lines joined by CR LF), a line break, then one line per contact in the\n"
           "log's order:\n"
           "  ROW<TAB>CALL<TAB>BAND<TAB>MODE<TAB>POINTS or duplicate<TAB>MEMBER COUNTED\n"
           "\n"
           "Several logs, or a folder: the results table, one line per log, highest\n"
           "score first: the station (the log's CALLSIGN, station call or operator, else\n"
           "the file's name), the contacts counted, their points, the member numbers\n"
           "counted, the score by the plug-in's rules, the CLAIMED-SCORE the log states\n"
           "(- when none) with a * where the two differ, and the file.\n"
           "\n"
           "Warnings (what a log gives that is not taken as written) and errors go to\n"
           "standard error, each with its file and line.\n"
           "\n"
           "Exit status: 0 when every log was read and scored, 1 when a log could not\n"
           "be read (the table still lists the others), 2 for a wrong command line.\n";
}

int RunScore(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    TCommandLine commandLine;
    bool optionsEnded = false;
    bool folderGiven = false;
    for (const std::string& arg : args) {
        if (!optionsEnded && (arg == "--help" || arg == "-h")) {
            out << ScoreUsageText();
            return kExitScored;
        }
        if (!optionsEnded && arg == "--version") {
            out << ScoreVersionText();
            return kExitScored;
        }
        if (!optionsEnded && (arg == "--json" || arg == "--csv")) {
            const TOutputForm form = arg == "--json" ? TOutputForm::Json : TOutputForm::Csv;
            if (commandLine.Form != TOutputForm::Text && commandLine.Form != form)
                return UsageError(err, "--json and --csv exclude each other");
            commandLine.Form = form;
        } else if (!optionsEnded && arg == "--table") {
            commandLine.Table = true;
        } else if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            return UsageError(err, "unknown option '" + arg + "'");
        } else {
            commandLine.Logs.push_back(arg);
        }
    }
    if (commandLine.Logs.empty())
        return UsageError(err, "no LOG file given");
    if (std::count(commandLine.Logs.begin(), commandLine.Logs.end(), "-") > 1)
        return UsageError(err, "standard input (-) can be read once only");

    // Folders stand for their files.
    std::vector<std::string> logs;
    int status = kExitScored;
    for (const std::string& log : commandLine.Logs) {
        std::error_code error;
        if (log != "-" && std::filesystem::is_directory(log, error)) {
            folderGiven = true;
            std::string why;
            const std::optional<std::vector<std::string>> files = LogFilesOfFolder(log, why);
            if (!files) {
                Report(err, log + ": " + std::move(why));
                status = kExitUnreadableLog;
            } else if (files->empty()) {
                Report(err, log + ": the folder holds no log files");
                status = kExitUnreadableLog;
            }
            if (files)
                logs.insert(logs.end(), files->begin(), files->end());
        } else {
            logs.push_back(log);
        }
    }

    const bool table = commandLine.Table || folderGiven || commandLine.Logs.size() > 1 ||
                       commandLine.Form == TOutputForm::Csv;
    if (!table) {
        const TLogReadResult log = LoadLogFile(logs.front());
        if (!log.Ok()) {
            Report(err, log.Error->Message());
            return kExitUnreadableLog;
        }
        for (const TLogWarning& warning : log.Warnings)
            Report(err, warning.Message());
        const TScoredLog scored = ScoreLogRows(log.Rows);
        if (commandLine.Form == TOutputForm::Json)
            WriteJsonResult(out, log.Rows, scored, log.Warnings.size());
        else
            WriteTextResult(out, log.Rows, scored);
        return kExitScored;
    }

    std::vector<TScoreLine> lines;
    std::vector<TUnreadLog> unreadable;
    for (const std::string& file : logs) {
        const TLogReadResult log = LoadLogFile(file);
        if (!log.Ok()) {
            Report(err, log.Error->Message());
            unreadable.push_back({file, log.Error->What});
            status = kExitUnreadableLog;
            continue;
        }
        for (const TLogWarning& warning : log.Warnings)
            Report(err, warning.Message());
        lines.push_back(ScoreLineOf(file == "-" ? std::string(kStandardInputName) : file, log));
    }
    SortScoreLines(lines);
    switch (commandLine.Form) {
    case TOutputForm::Json: WriteScoreTableJson(out, lines, unreadable); break;
    case TOutputForm::Csv: WriteScoreTableCsv(out, lines); break;
    case TOutputForm::Text: WriteScoreTableText(out, lines); break;
    }
    return status;
}
