#include "contest-sim/SimCommand.h"

#include <charconv>
#include <cstdint>
#include <functional>
#include <map>

#include "contest-sim/Joined.h"
#include "contest-sim/SimContest.h"
#include "contest-sim/SimFiles.h"
#include "contest-sim/SimTruth.h"

namespace {

constexpr const char* kVersion = "velmora-contest-sim 1.0";

constexpr const char* kUsage = R"(Usage: velmora-contest-sim [OPTIONS] --out FOLDER
Simulates a Velmora Cup contest whose truth is known: stations (members with
numbers, others sending serials) working each other on 160, 80, 40, 20, 15
and 10 metres in CW, phone and digital modes; the stations that send a log
write it as Cabrillo 3.0, with faults at the rates given. Writes
  FOLDER/logs/CALL.log        one log per submitting station
  FOLDER/VC.dom               the member file (CALL=VCnn)
  FOLDER/truth/verdicts.csv   the verdict of every QSO line, as a perfect
                              checker finds it (velmora-check's format)
  FOLDER/truth/results.csv    every log's claimed and checked score
FOLDER must not exist yet, or be empty. The same --random-start gives the same
contest, byte for byte.

Options:
  --logs N                  logs sent in (default 50)
  --silent N                stations that take part but send no log (default
                            half the number of logs)
  --contacts N              about how many QSO lines all logs hold together
                            (default 150 per log)
  --random-start N          the number every draw follows from (default 1)
  --from TIME, --to TIME    the contest period in UTC, as 2026-03-01T12:00Z
                            (default 2026-03-01T12:00Z to 2026-03-02T12:00Z)
Rates, each a share between 0 and 1:
  --missed-call-rate R      one side logged a slip of the other's call (0.02)
  --missed-exchange-rate R  one side miscopied the other's exchange (0.02)
  --not-logged-rate R       one side failed to log the contact (0.02)
  --clock-off-rate R        share of logs whose clock is off by 3 to 60
                            minutes (0.08)
  --dupe-rate R             the same station worked again on the same band
                            and mode, or one contact entered twice (0.01)
  --out-of-period-rate R    contacts made outside the period (0.005)
  --one-timer-rate R        contacts with stations heard only once (0.01)
  --x-qso-rate R            lines the entrant marked X-QSO (0.002)
  --member-share R          share of stations that are members (0.4; at most
                            999 members)
  --neighbour-share R       share of stations whose call is one slip from
                            another station's (0.01)
  --help                    show this text
  --version                 show the version

Exit status: 0 the contest was written; 1 it could not be written (or FOLDER
is not empty); 2 wrong command line.
)";

bool ParseWhole(const std::string& text, std::int64_t& value)
{
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end;
}

bool ParseShare(const std::string& text, double& value)
{
    try {
        std::size_t used = 0;
        value = std::stod(text, &used);
        return used == text.size() && value >= 0.0 && value <= 1.0;
    } catch (...) {
        return false;
    }
}

}  // namespace

int RunContestSim(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    TSimOptions options;
    ParseMinute("2026-03-01T12:00Z", options.From);
    ParseMinute("2026-03-02T12:00Z", options.To);
    std::string folder;

    const std::map<std::string, double*> shares = {
        {"--missed-call-rate", &options.MissedCallRate},
        {"--missed-exchange-rate", &options.MissedExchangeRate},
        {"--not-logged-rate", &options.NotLoggedRate},
        {"--clock-off-rate", &options.ClockOffRate},
        {"--dupe-rate", &options.DupeRate},
        {"--out-of-period-rate", &options.OutOfPeriodRate},
        {"--one-timer-rate", &options.OneTimerRate},
        {"--x-qso-rate", &options.XQsoRate},
        {"--member-share", &options.MemberShare},
        {"--neighbour-share", &options.NeighbourShare},
    };
    const auto usageError = [&err](const std::string& what) {
        err << "velmora-contest-sim: " << what << "\nTry 'velmora-contest-sim --help'.\n";
        return 2;
    };

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "--help") {
            out << kUsage;
            return 0;
        }
        if (option == "--version") {
            out << kVersion << '\n';
            return 0;
        }
        if (i + 1 >= arguments.size())
            return usageError(option.rfind("--", 0) == 0 ? option + " needs a value" : "unexpected argument " + option);
        const std::string& value = arguments[++i];
        std::int64_t whole = 0;
        if (const auto share = shares.find(option); share != shares.end()) {
            if (!ParseShare(value, *share->second))
                return usageError(Joined(option, " wants a share between 0 and 1, not '", value, "'"));
        } else if (option == "--out") {
            folder = value;
        } else if (option == "--from" || option == "--to") {
            if (!ParseMinute(value, option == "--from" ? options.From : options.To))
                return usageError(Joined(option, " wants a time such as 2026-03-01T12:00Z, not '", value, "'"));
        } else if (option == "--random-start") {
            if (!ParseWhole(value, whole) || whole < 0)
                return usageError("--random-start wants a whole number, not '" + value + "'");
            options.RandomStart = static_cast<std::uint64_t>(whole);
        } else if (option == "--logs" || option == "--silent" || option == "--contacts") {
            const std::int64_t low = option == "--logs" ? 1 : 0;
            if (!ParseWhole(value, whole) || whole < low || whole > 100000000)
                return usageError(
                    Joined(option, " wants a whole number of at least ", std::to_string(low), ", not '", value, "'"));
            if (option == "--contacts")
                options.Contacts = whole;
            else if (whole > 1000000)
                return usageError(option + " is at most 1000000");
            else
                (option == "--logs" ? options.Logs : options.SilentStations) = static_cast<int>(whole);
        } else {
            return usageError("unknown option " + option);
        }
    }
    if (folder.empty())
        return usageError("--out FOLDER is required");
    // Contacts are drawn at least 70 minutes inside each edge.
    if (options.To - options.From < 180)
        return usageError("the period must last at least three hours");

    TSimContest contest = GenerateContest(options);
    const std::vector<TLogTruth> truths = JudgeContest(contest);
    std::string error;
    if (!WriteContestFiles(contest, truths, folder, error)) {
        err << "velmora-contest-sim: " << error << '\n';
        return 1;
    }
    std::size_t lines = 0;
    for (const TSimLog& log : contest.Logs)
        lines += log.Entries.size();
    std::size_t members = 0;
    for (const TSimStation& station : contest.Stations)
        members += station.Member != 0;
    const std::string from = MinuteText(options.From);
    const std::string to = MinuteText(options.To);
    out << contest.Logs.size() << " logs, " << lines << " QSO lines, " << contest.Stations.size() << " stations ("
        << members << " members), period " << from << " to " << to << ", written to " << folder << '\n'
        << "check with: velmora-check --members " << folder << "/VC.dom --from " << from << " --to " << to << ' '
        << folder << "/logs\n";
    return 0;
}
