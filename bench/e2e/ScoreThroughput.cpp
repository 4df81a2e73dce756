// e2e-score-throughput: how many contacts per second velmora-score gets
// through natively, on the end-to-end logs of 10,000 and 100,000 contacts:
// the whole command (reading the ADIF file, ordering by call, scoring,
// writing the report and a line per contact) and the scoring alone; then
// the log readers: reading and scoring ADIF and Cabrillo logs of 10,000 and
// 1,000,000 contacts, and velmora-score over a folder of 1,000 generated
// Cabrillo logs.
//
//   e2e-score-throughput [FOLDER] [--compare OLD NEW]
//     FOLDER  the logs are written there (default .)
//     --compare OLD NEW
//             also runs two velmora-score programs as processes on the same
//             100,000-contact ADIF log (best of 5 each) and prints NEW / OLD:
//             how a build's throughput compares with an earlier one
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "BenchLogs.h"
#include "logfiles/LogFile.h"
#include "velmora-score/ScoreCommand.h"
#include "velmora-score/ScoreLog.h"

namespace {

constexpr std::size_t kSizes[] = {10000, 100000};
constexpr int kRepeats = 5;

template <typename Work>
double BestSeconds(Work work, int repeats = kRepeats)
{
    double best = 1e30;
    for (int repeat = 0; repeat < repeats; ++repeat) {
        const auto start = std::chrono::steady_clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

bool WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    if (!file)
        std::fprintf(stderr, "e2e-score-throughput: cannot write %s\n", path.c_str());
    return static_cast<bool>(file);
}

// Reading the text in whatever format it is and scoring its rows.
std::size_t ReadAndScore(const std::string& text)
{
    const TLogReadResult log = ReadLogTextOfAnyFormat(text);
    return ScoreLogRows(log.Rows).Verdicts.size();
}

int ReaderThroughput(const std::string& folder)
{
    std::printf("\nReading and scoring (the log's text in memory, read in the format its content shows, then\n"
                "ordered by call and scored), best of %d runs (2 at 1,000,000)\n",
                kRepeats);
    std::printf("%-10s %16s %16s %16s\n", "contacts", "ADIF (c/s)", "Cabrillo (c/s)", "Cabrillo/ADIF");
    for (const std::size_t size : {std::size_t{10000}, std::size_t{1000000}}) {
        const std::vector<TLogRow> rows = BenchLog(size);
        const std::string adif = AdifOf(rows);
        const std::string cabrillo = CabrilloOf(rows, "DL1ABC");
        std::size_t adifCounted = 0;
        std::size_t cabrilloCounted = 0;
        const int repeats = size > 100000 ? 2 : kRepeats;
        const double adifSeconds = BestSeconds([&] { adifCounted = ReadAndScore(adif); }, repeats);
        const double cabrilloSeconds = BestSeconds([&] { cabrilloCounted = ReadAndScore(cabrillo); }, repeats);
        if (adifCounted != size || cabrilloCounted != size) {
            std::fprintf(stderr, "e2e-score-throughput: %zu ADIF and %zu Cabrillo contacts read of %zu\n",
                         adifCounted, cabrilloCounted, size);
            return 1;
        }
        std::printf("%-10s %16.0f %16.0f %16.2f\n", Grouped(size).c_str(), static_cast<double>(size) / adifSeconds,
                    static_cast<double>(size) / cabrilloSeconds, adifSeconds / cabrilloSeconds);
    }

    // A whole contest: 1,000 logs of 100 to 600 contacts each.
    constexpr std::size_t kLogs = 1000;
    const std::string contest = folder + "/e2e-contest";
    std::filesystem::remove_all(contest);
    std::filesystem::create_directories(contest);
    std::size_t contacts = 0;
    for (std::size_t log = 0; log < kLogs; ++log) {
        const std::size_t size = 100 + (log * 7919) % 501;
        contacts += size;
        const std::string call = "DL" + std::to_string(log % 10) + "A" + std::string(1, static_cast<char>('A' + log % 26)) +
                                 std::string(1, static_cast<char>('A' + (log / 26) % 26));
        if (!WriteFile(contest + "/" + std::to_string(log) + ".log",
                       CabrilloOf(BenchLog(size, static_cast<std::uint32_t>(log + 1)), call)))
            return 1;
    }
    int status = 0;
    std::size_t tableLines = 0;
    const double seconds = BestSeconds(
        [&] {
            std::ostringstream out;
            std::ostringstream err;
            status = RunScore({contest}, out, err);
            const std::string table = out.str();
            tableLines = static_cast<std::size_t>(std::count(table.begin(), table.end(), '\n'));
        },
        3);
    if (status != kExitScored || tableLines != kLogs + 1) {
        std::fprintf(stderr, "e2e-score-throughput: velmora-score over %s gave status %d, %zu lines\n",
                     contest.c_str(), status, tableLines);
        return 1;
    }
    std::printf("\nvelmora-score over a folder of %s Cabrillo logs (%s contacts), best of 3 runs\n",
                Grouped(kLogs).c_str(), Grouped(contacts).c_str());
    std::printf("%.3f s, %.0f logs/s, %.0f contacts/s\n", seconds, static_cast<double>(kLogs) / seconds,
                static_cast<double>(contacts) / seconds);
    return 0;
}

// Seconds for one run of `program` on `log` as a process, output discarded.
double ProcessSeconds(const std::string& program, const std::string& log)
{
    const std::string command = "'" + program + "' '" + log + "' >/dev/null 2>&1";
    return BestSeconds([&] {
        if (std::system(command.c_str()) != 0)
            std::fprintf(stderr, "e2e-score-throughput: %s failed\n", command.c_str());
    });
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string oldProgram;
    std::string newProgram;
    for (std::size_t at = 0; at < args.size(); ++at)
        if (args[at] == "--compare" && at + 2 < args.size()) {
            oldProgram = args[at + 1];
            newProgram = args[at + 2];
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(at), args.begin() + static_cast<std::ptrdiff_t>(at + 3));
            break;
        }
    const std::string folder = !args.empty() ? args[0] : ".";
    std::printf("velmora-score natively, best of %d runs\n", kRepeats);
    std::printf("%-9s %22s %22s %22s\n", "contacts", "whole command (s)", "contacts/s (command)",
                "contacts/s (scoring)");
    for (const std::size_t size : kSizes) {
        const std::vector<TLogRow> rows = BenchLog(size);
        const std::string path = folder + "/e2e-" + std::to_string(size) + ".adi";
        {
            std::ofstream file(path, std::ios::binary | std::ios::trunc);
            file << AdifOf(rows);
            if (!file) {
                std::fprintf(stderr, "e2e-score-throughput: cannot write %s\n", path.c_str());
                return 1;
            }
        }
        int status = 0;
        const double command = BestSeconds([&] {
            std::ostringstream out;
            std::ostringstream err;
            status = RunScore({path}, out, err);
        });
        if (status != kExitScored) {
            std::fprintf(stderr, "e2e-score-throughput: velmora-score refused %s\n", path.c_str());
            return 1;
        }
        std::size_t counted = 0;
        const double scoring = BestSeconds([&] { counted = ScoreLogRows(rows).Verdicts.size(); });
        std::printf("%-9s %22.3f %22.0f %22.0f\n", Grouped(size).c_str(), command,
                    static_cast<double>(size) / command, static_cast<double>(counted) / scoring);
    }
    if (ReaderThroughput(folder) != 0)
        return 1;
    if (!oldProgram.empty()) {
        const std::string log = folder + "/e2e-100000.adi";
        const double before = ProcessSeconds(oldProgram, log);
        const double after = ProcessSeconds(newProgram, log);
        std::printf("\nvelmora-score as a process on %s, best of %d runs\n", log.c_str(), kRepeats);
        std::printf("%-8s %10.3f s  %s\n%-8s %10.3f s  %s\ntime NEW / OLD: %.2f (goal: at most 1.5)\n", "OLD",
                    before, oldProgram.c_str(), "NEW", after, newProgram.c_str(), after / before);
    }
    return 0;
}
