#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "contest-sim/CompareTruth.h"

namespace {

constexpr const char* kUsage = R"(Usage: velmora-sim-compare [--least R] [--show N] TRUTH_FOLDER CHECKED_FOLDER
Holds velmora-check's output against a simulated contest's truth.
  TRUTH_FOLDER    the simulator's truth folder (verdicts.csv, results.csv)
  CHECKED_FOLDER  velmora-check's --out folder (verdicts.csv, results.csv)
  --least R       the precision and recall every verdict must reach (0.98)
  --show N        how many disagreements to list (20)
  --help          show this text
  --version       show the version
Prints, per verdict, the lines in the truth and in the checker's output, the
lines they agree on, precision and recall; then whether every log's checked
score equals the truth's, and the first disagreements.

Exit status: 0 every verdict reaches R in precision and recall, every line
has a verdict with the true call, band, mode, time and points, and every
checked score is right; 1 not so; 2 wrong command line or a file that cannot
be read.
)";

}  // namespace

int main(int argc, char** argv)
{
    try {
        double least = 0.98;
        std::size_t shown = 20;
        std::vector<std::string> folders;
        for (int i = 1; i < argc; ++i) {
            const std::string argument = argv[i];
            if (argument == "--help") {
                std::cout << kUsage;
                return 0;
            }
            if (argument == "--version") {
                std::cout << "velmora-sim-compare 1.0\n";
                return 0;
            }
            if ((argument == "--least" || argument == "--show") && i + 1 < argc) {
                const std::string value = argv[++i];
                std::size_t used = 0;
                if (argument == "--least")
                    least = std::stod(value, &used);
                else
                    shown = std::stoul(value, &used);
                if (used != value.size())
                    throw std::invalid_argument("not a number: " + value);
            } else if (argument.rfind("--", 0) == 0) {
                std::cerr << "velmora-sim-compare: unknown option " << argument << '\n' << kUsage;
                return 2;
            } else {
                folders.push_back(argument);
            }
        }
        if (folders.size() != 2) {
            std::cerr << kUsage;
            return 2;
        }
        TCsvTable truthVerdicts, truthResults, checkVerdicts, checkResults;
        std::string error;
        if (!ReadCsvFile(folders[0] + "/verdicts.csv", truthVerdicts, error) ||
            !ReadCsvFile(folders[0] + "/results.csv", truthResults, error) ||
            !ReadCsvFile(folders[1] + "/verdicts.csv", checkVerdicts, error) ||
            !ReadCsvFile(folders[1] + "/results.csv", checkResults, error)) {
            std::cerr << "velmora-sim-compare: " << error << '\n';
            return 2;
        }
        TTruthComparison comparison;
        if (!CompareWithTruth(truthVerdicts, truthResults, checkVerdicts, checkResults, comparison, error)) {
            std::cerr << "velmora-sim-compare: " << error << '\n';
            return 2;
        }
        PrintComparison(comparison, shown, std::cout);
        const bool met = MeetsGoals(comparison, least);
        std::cout << (met ? "goals met" : "goals NOT met") << " (precision and recall at least " << least
                  << " for every verdict, every line's columns and every checked score equal)\n";
        return met ? 0 : 1;
    } catch (const std::exception& failure) {
        std::cerr << "velmora-sim-compare: " << failure.what() << '\n';
        return 2;
    }
}
