#include "velmora-check/CheckCommand.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "members/MemberList.h"
#include "velmora-check/DecideStage.h"
#include "velmora-check/MatchStage.h"
#include "velmora-check/Normalise.h"
#include "velmora-check/ReadStage.h"
#include "velmora-check/ReportFiles.h"
#include "velmora-check/ReportText.h"
#include "velmora-check/ScoreStage.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kVersion = "velmora-check 1.0";

using TClock = std::chrono::steady_clock;

double SecondsSince(TClock::time_point start)
{
    return std::chrono::duration<double>(TClock::now() - start).count();
}

int UsageError(std::ostream& err, const std::string& what)
{
    err << "velmora-check: " << what << "\nTry 'velmora-check --help'.\n";
    return kExitUsage;
}

template <typename Number>
std::optional<Number> WholeNumber(const std::string& text)
{
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

bool IsTerminal(const std::ostream& stream)
{
    if (&stream != &std::cerr)
        return false;
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(STDERR_FILENO) != 0;
#endif
}

// A progress line on standard error, shown only once a run has taken more
// than a second. On a terminal it is rewritten in place at most five times a
// second and wiped at the end; into a file or pipe it is a whole line at most
// every two seconds, so every other message, the timings line included,
// still starts a line of its own.
class TProgressLine {
public:
    explicit TProgressLine(std::ostream& err)
        : Err_(err), Terminal_(IsTerminal(err)), Start_(TClock::now()), Last_(Start_)
    {
    }
    ~TProgressLine()
    {
        try {
            Finish();
        } catch (...) {
            // A progress line that cannot be wiped is no reason to fail.
        }
    }

    void Show(const std::string& what)
    {
        const auto now = TClock::now();
        const auto pause = Terminal_ ? std::chrono::milliseconds(200) : std::chrono::milliseconds(2000);
        if (now - Start_ < std::chrono::seconds(1) || (Shown_ && now - Last_ < pause))
            return;
        Last_ = now;
        if (Terminal_)
            Err_ << "\rvelmora-check: " << what << "\x1b[K" << std::flush;
        else
            Err_ << "velmora-check: " << what << '\n' << std::flush;
        Shown_ = true;
    }

    void Finish()
    {
        if (Shown_ && Terminal_)
            Err_ << "\r\x1b[K" << std::flush;
        Shown_ = false;
    }

private:
    std::ostream& Err_;
    bool Terminal_;
    TClock::time_point Start_;
    TClock::time_point Last_;
    bool Shown_ = false;
};

// The output folder must not be where the logs are: a log named after a
// station (W1AW.txt) would be replaced by that station's report.
std::optional<std::string> OutputFolderClash(const TCheckOptions& options, const std::vector<std::string>& files)
{
    std::error_code error;
    const fs::path out = fs::weakly_canonical(options.OutFolder, error);
    if (error)
        return std::nullopt;
    const auto same = [&](const fs::path& path) {
        std::error_code ignored;
        const fs::path canonical = fs::weakly_canonical(path, ignored);
        return !ignored && canonical == out;
    };
    for (const std::string& input : options.Inputs)
        if (input != "-" && fs::is_directory(input, error) && same(input))
            return input;
    for (const std::string& file : files)
        if (file != "-" && same(fs::absolute(file, error).parent_path()))
            return file;
    return std::nullopt;
}

}  // namespace

std::string CheckUsageText()
{
    return "Usage: velmora-check [OPTIONS] LOG... | FOLDER\n"
           "Checks every log of a Velmora Cup against the others and scores each log by\n"
           "the plug-in's rules twice: as submitted (claimed) and after checking.\n"
           "\n"
           "  LOG, FOLDER         Cabrillo, ADIF or CSV logs; a folder gives its files\n"
           "                      ending in .log .cbr .cabrillo .adi .adif .csv .tsv .txt;\n"
           "                      - reads one log from standard input\n"
           "  --members FILE      the member file (CALL=NUMBER lines, as the plug-in reads)\n"
           "  --from TIME         start of the contest period, as 2026-03-01T12:00Z\n"
           "  --to TIME           end of the period (a contact at TIME is outside)\n"
           "  --tolerance MIN     minutes two logs may differ on a contact (default 5),\n"
           "                      after each log's clock offset is taken out\n"
           "  --out FOLDER        where the results go (default results/); never a\n"
           "                      folder that holds the logs\n"
           "  --nil-penalty N     a contact lost to busted-call, nil or busted-exchange\n"
           "                      costs N times its points on top (default 0)\n"
           "  --remove-uniques    unique contacts lose their credit\n"
           "  --jobs N            threads for reading and scoring (default: processors)\n"
           "  --timings           print 'timings: read R s, check C s, write W s, total T s'\n"
           "                      on standard error at the end, then the check's parts\n"
           "  --help, --version\n"
           "\n"
           "Verdicts, first that applies: x-qso, out-of-period, dupe, busted-call, nil,\n"
           "busted-exchange, unique, no-log, ok. ok, no-log and unique keep their credit.\n"
           "\n"
           "Writes in the output folder: verdicts.csv (one row per contact), results.txt,\n"
           "results.csv, results.json (one row per log, by checked score), <CALL>.txt\n"
           "(each log's lost contacts with the evidence) and results.html. Prints the\n"
           "results table on standard output; messages go to standard error. The error\n"
           "rate is the share of claimed contacts lost to busted-call, nil or\n"
           "busted-exchange; the clock offset is given when more than a minute.\n"
           "\n"
           "Exit status: 0 when every log was checked and every result written; 1 when\n"
           "a log was left out (the others are checked and written) or a result could\n"
           "not be written; 2 for a wrong command line.\n";
}

int RunCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    TCheckOptions options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (optionsEnded || arg == "-" || arg.size() < 2 || arg[0] != '-') {
            options.Inputs.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            out << CheckUsageText();
            return kExitChecked;
        }
        if (arg == "--version") {
            out << kVersion << '\n';
            return kExitChecked;
        }
        if (arg == "--remove-uniques") {
            options.RemoveUniques = true;
            continue;
        }
        if (arg == "--timings") {
            options.Timings = true;
            continue;
        }
        std::string value;
        if (const std::size_t equals = arg.find('='); equals != std::string::npos) {
            value = arg.substr(equals + 1);
            arg.resize(equals);
        } else {
            static const char* const kWithValue[] = {"--members", "--from", "--to", "--tolerance", "--out",
                                                     "--nil-penalty", "--jobs"};
            if (std::find(std::begin(kWithValue), std::end(kWithValue), arg) == std::end(kWithValue))
                return UsageError(err, Joined("unknown option '", arg, "'"));
            if (i + 1 >= args.size())
                return UsageError(err, arg + " needs a value");
            value = args[++i];
        }
        if (arg == "--members") {
            options.MembersFile = value;
        } else if (arg == "--from" || arg == "--to") {
            const auto minute = ParseContestTime(value);
            if (!minute)
                return UsageError(err, Joined(arg, " '", value, "' is not a time such as 2026-03-01T12:00Z"));
            (arg == "--from" ? options.From : options.To) = *minute;
        } else if (arg == "--tolerance") {
            const auto minutes = WholeNumber<std::int32_t>(value);
            if (!minutes || *minutes < 0 || *minutes > 24 * 60)
                return UsageError(err, Joined("--tolerance '", value, "' is not a number of minutes from 0 to 1440"));
            options.ToleranceMinutes = *minutes;
        } else if (arg == "--out") {
            if (value.empty())
                return UsageError(err, "--out needs a folder");
            options.OutFolder = value;
        } else if (arg == "--nil-penalty") {
            const auto penalty = WholeNumber<std::int64_t>(value);
            if (!penalty || *penalty < 0 || *penalty > 1000)
                return UsageError(err, Joined("--nil-penalty '", value, "' is not a whole number from 0 to 1000"));
            options.NilPenalty = *penalty;
        } else if (arg == "--jobs") {
            const auto jobs = WholeNumber<unsigned>(value);
            if (!jobs || *jobs < 1 || *jobs > 256)
                return UsageError(err, Joined("--jobs '", value, "' is not a number of threads from 1 to 256"));
            options.Jobs = *jobs;
        } else {
            return UsageError(err, Joined("unknown option '", arg, "'"));
        }
    }
    if (options.Inputs.empty())
        return UsageError(err, "no LOG or FOLDER given");
    if (options.From && options.To && *options.From >= *options.To)
        return UsageError(err, "--from must come before --to");
    if (std::count(options.Inputs.begin(), options.Inputs.end(), "-") > 1)
        return UsageError(err, "standard input (-) can be read once only");

    const auto started = TClock::now();
    TCheckRun run;
    run.Options = options;

    TMemberList members;
    if (options.MembersFile) {
        std::error_code error;
        if (!fs::is_regular_file(*options.MembersFile, error)) {
            err << "velmora-check: " << *options.MembersFile << ": no such member file\n";
            return kExitUsage;
        }
        try {
            members = LoadMemberFile(*options.MembersFile);
        } catch (const std::exception& failure) {
            err << "velmora-check: " << failure.what() << '\n';
            return kExitUsage;
        }
    }

    const std::vector<std::string> files = ListLogFiles(options.Inputs, run.LeftOut);
    if (const auto clash = OutputFolderClash(options, files)) {
        err << "velmora-check: the output folder " << options.OutFolder << " holds the logs (" << *clash
            << "); choose another --out so that no log is overwritten\n";
        return kExitUsage;
    }

    TProgressLine progress(err);
    ReadLogs(run, files, options.Jobs, [&](std::size_t done, std::size_t total) {
        progress.Show("read " + std::to_string(done) + " of " + std::to_string(total) + " logs");
    });
    const double readSeconds = SecondsSince(started);

    const auto checkStarted = TClock::now();
    std::sort(run.Logs.begin(), run.Logs.end(),
              [](const TCheckLog& a, const TCheckLog& b) { return a.StationCall < b.StationCall; });
    progress.Show("checking " + std::to_string(run.Logs.size()) + " logs");
    // Each part of the check, for the timings' second line.
    std::string checkParts;
    auto partStarted = TClock::now();
    const auto partDone = [&](const char* name) {
        char part[64];
        static_cast<void>(std::snprintf(part, sizeof part, "%s%s %.3f s", checkParts.empty() ? "" : ", ", name,
                                        SecondsSince(partStarted)));
        checkParts += part;
        partStarted = TClock::now();
    };
    NormaliseRun(run, options.Jobs);
    partDone("normalise");
    ScoreClaimed(run, options.Jobs);
    partDone("score claimed");
    MatchRun(run);
    partDone("match");
    DecideRun(run, members, options.Jobs);
    partDone("decide");
    ScoreChecked(run, options.Jobs);
    partDone("score checked");
    const double checkSeconds = SecondsSince(checkStarted);

    const auto writeStarted = TClock::now();
    progress.Show("writing the results");
    const bool written = WriteReports(run, err);
    const double writeSeconds = SecondsSince(writeStarted);
    progress.Finish();

    for (const TCheckLog& log : run.Logs)
        for (const std::string& warning : log.Warnings)
            err << "velmora-check: " << warning << '\n';
    for (const TLeftOutLog& left : run.LeftOut)
        err << "velmora-check: left out: " << left.Reason << '\n';
    out << ResultsText(run);
    if (written)
        out << "\nResults written to " << options.OutFolder << '\n';

    if (options.Timings) {
        char line[160];
        static_cast<void>(std::snprintf(line, sizeof line, "timings: read %.3f s, check %.3f s, write %.3f s, total %.3f s\n",
                      readSeconds, checkSeconds, writeSeconds, SecondsSince(started)));
        err << line << "timings of the check: " << checkParts << '\n';
    }
    return run.LeftOut.empty() && written ? kExitChecked : kExitLogsLeftOut;
}
