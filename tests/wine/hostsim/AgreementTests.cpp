// The plug-in's window and the native scorer must agree byte for byte: for
// each log, the report velmora-host reads out of the DLL's window after the
// rebuild through ADO equals the report velmora-score writes. Each log and
// the host's report are also left in hostsim-agreement\ so that the native
// build's velmora-score can be held against them from the Linux side.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HostProgram.h"
#include "TestLogs.h"
#include "support/SyntheticLog.h"

using namespace hostsim;

namespace {

const std::string& AgreementFolder()
{
    static const std::string folder = [] {
        std::string path = TestFolder() + "hostsim-agreement\\";
        CreateDirectoryA(path.c_str(), nullptr);
        return path;
    }();
    return folder;
}

// Scores `fileName` (already in the agreement folder) both ways.
void ExpectAgreement(const std::string& fileName)
{
    SCOPED_TRACE(fileName);
    const std::string log = AgreementFolder() + fileName;
    const TProgramRun score = RunScore({log});
    ASSERT_EQ(0u, score.ExitCode) << "velmora-score: " << score.Err;
    const TProgramRun host = RunHost({"score", log});
    ASSERT_EQ(0u, host.ExitCode) << "velmora-host: " << host.Err;

    const std::string expected = ReportOfScoreOutput(score.Out) + "\n";
    EXPECT_EQ(expected, host.Out) << "the DLL's window against velmora-score\nwindow:\n"
                                  << Visible(host.Out) << "velmora-score:\n"
                                  << Visible(expected);
    PutFile(log + ".host.txt", host.Out);
}

void PlaceLog(const std::string& fileName, const std::string& text)
{
    PutFile(AgreementFolder() + fileName, text);
}

}  // namespace

TEST(Agreement, SampleLogs)
{
    for (const char* sample : {"velmora-cup-sample.adi", "velmora-cup-sample.csv"}) {
        PlaceLog(sample, FileText(WindowsPath(VELMORA_SAMPLES_DIR) + "\\" + sample));
        ExpectAgreement(sample);
    }
}

TEST(Agreement, GeneratedLogs)
{
    // Sizes and generator start values picked to vary the mix; the member
    // exchanges bring mixed spelling, "m" band suffixes and lower-case calls.
    struct TGenerated {
        std::size_t Contacts;
        std::uint32_t StartValue;
        bool Tabs;
    };
    for (const TGenerated& generated : {TGenerated{300, 1, false}, TGenerated{2000, 7, true},
                                        TGenerated{6000, 42, false}}) {
        const std::vector<TLoggedContact> contacts =
            WithMemberExchanges(SyntheticLog(generated.Contacts, generated.StartValue), generated.StartValue);
        const std::string name = "generated-" + std::to_string(generated.Contacts) + "-" +
                                 std::to_string(generated.StartValue) + (generated.Tabs ? ".tsv" : ".adi");
        PlaceLog(name, generated.Tabs ? TsvText(contacts) : AdifText(contacts));
        ExpectAgreement(name);
    }
}

TEST(Agreement, RecordedContestLogs)
{
    // The Cabrillo files as they are: both programs read them with the same
    // reader, and the window must agree with the native scorer.
    const std::string folder = WindowsPath(VELMORA_RECORDED_LOGS_DIR) + "\\";
    for (const char* recorded : {"W1OP", "K3AJ", "I44W"}) {
        const std::string name = std::string(recorded) + ".log";
        const std::string text = FileText(folder + name);
        ASSERT_NE(text.find("QSO:"), std::string::npos) << recorded << " has contacts";
        PlaceLog(name, text);
        ExpectAgreement(name);
    }
}
