// Each verdict on hand-written pairs and triples of logs: every folder under
// cases/ holds the logs, an optional `args` file (extra options, {case} for
// the folder) and in expected/ the verdicts.csv the check must write, byte
// for byte, and where present the results.csv too.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "CheckTestFolder.h"
#include "velmora-check/CheckCommand.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> CaseNames()
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(VELMORA_CHECK_CASES_DIR))
        if (entry.is_directory())
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class VerdictCase : public testing::TestWithParam<std::string> {};

TEST_P(VerdictCase, WritesTheExpectedVerdicts)
{
    const fs::path folder = fs::path(VELMORA_CHECK_CASES_DIR) / GetParam();
    TCheckTestFolder work("case-" + GetParam());
    std::vector<std::string> args = {folder.string(), "--out", work.Out(), "--jobs", "2"};
    std::istringstream extra(TCheckTestFolder::ReadWhole(folder / "args"));
    for (std::string word; extra >> word;) {
        if (const auto at = word.find("{case}"); at != std::string::npos)
            word.replace(at, 6, folder.string());
        args.push_back(word);
    }
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunCheck(args, out, err), kExitChecked) << err.str();

    for (const char* name : {"verdicts.csv", "results.csv"}) {
        if (!fs::exists(folder / "expected" / name))
            continue;
        EXPECT_EQ(work.Result(name), TCheckTestFolder::ReadWhole(folder / "expected" / name))
            << name << " of case " << GetParam();
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, VerdictCase, testing::ValuesIn(CaseNames()),
                         [](const testing::TestParamInfo<std::string>& param) {
                             std::string name = param.param;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

}  // namespace
