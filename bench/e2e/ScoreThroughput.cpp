// e2e-score-throughput: how many contacts per second velmora-score gets
// through natively, on the end-to-end logs of 10,000 and 100,000 contacts:
// the whole command (reading the ADIF file, ordering by call, scoring,
// writing the report and a line per contact) and the scoring alone.
//
//   e2e-score-throughput [FOLDER]   the logs are written to FOLDER (default .)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "BenchLogs.h"
#include "velmora-score/ScoreCommand.h"
#include "velmora-score/ScoreLog.h"

namespace {

constexpr std::size_t kSizes[] = {10000, 100000};
constexpr int kRepeats = 5;

template <typename Work>
double BestSeconds(Work work)
{
    double best = 1e30;
    for (int repeat = 0; repeat < kRepeats; ++repeat) {
        const auto start = std::chrono::steady_clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string folder = argc > 1 ? argv[1] : ".";
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
    return 0;
}
