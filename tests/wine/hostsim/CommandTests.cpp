// velmora-host's commands as an operator runs them: the exact report a score
// prints, a replay's contact lines and its verdict on the rebuild, a scripted
// interactive session, the member file put in place and taken away again,
// the picture of the window, and the failures a user can cause.
#include <windows.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HostProgram.h"
#include "logfiles/LogFile.h"

using namespace hostsim;

namespace {

// A small log whose contacts arrive in another band order than their calls:
// live logging meets band 40 first, a rebuild (calls in the database's order:
// DL1XX, K1ABC, W1AW) band 20.
constexpr char kSmallLog[] =
    "CallSign,DigiBand,QSOMode,QSOReportRecived\r\n"
    "K1ABC,40,SSB,59 vc3\r\n"
    "W1AW,20,CW,599 VC12\r\n"
    "W1AW,20,CW,599 VC12\r\n"
    "W1AW,40,CW,599 VC12\r\n"
    "DL1XX,20,CW,599 001\r\n";

constexpr char kSmallLogRebuilt[] =
    "Band\t  QSOs\tPoints\tVClist\t\r\n"
    "  20\t     2\t     4\t     1\t\r\n"
    "  40\t     2\t     6\t     2\t\r\n"
    "Total\t     4\t    10\t     3\t\r\n"
    " Score: 10*3=30";

constexpr char kSmallLogLive[] =
    "Band\t  QSOs\tPoints\tVClist\t\r\n"
    "  40\t     2\t     6\t     2\t\r\n"
    "  20\t     2\t     4\t     1\t\r\n"
    "Total\t     4\t    10\t     3\t\r\n"
    " Score: 10*3=30";

constexpr char kEmptyReport[] = "Band\t  QSOs\tPoints\tVClist\t\r\nTotal\t     0\t     0\t     0\t\r\n Score: 0*0=0";

std::string SmallLogPath()
{
    std::string path = ScratchPath("small.csv");
    PutFile(path, kSmallLog);
    return path;
}

std::string MemberFilePath() { return HostFolder() + "Plugins\\VC.dom"; }

// Every case starts without a member file beside the host.
class HostCommand : public ::testing::Test {
protected:
    void SetUp() override { DeleteFileA(MemberFilePath().c_str()); }
    void TearDown() override { DeleteFileA(MemberFilePath().c_str()); }
};

}  // namespace

TEST_F(HostCommand, HelpAndWrongCommandLines)
{
    const TProgramRun help = RunHost({"--help"});
    EXPECT_EQ(0u, help.ExitCode) << "--help exit status";
    for (const char* piece : {"Usage: velmora-host", "score LOG", "replay LOG", "interactive [LOG]", "--plugin PATH",
                              "--members FILE", "--screenshot FILE", "--table NAME", "Exit status"})
        EXPECT_NE(std::string::npos, help.Out.find(piece)) << "usage mentions '" << piece << "'";

    const std::vector<std::vector<std::string>> wrong = {
        {}, {"frobnicate"}, {"score"}, {"replay"}, {"score", "a.adi", "b.adi"}, {"--no-such-option", "score", "a.adi"},
        {"score", "a.adi", "--plugin"}, {"interactive", "--screenshot", "x.png"}};
    for (const std::vector<std::string>& args : wrong) {
        std::string shown;
        for (const std::string& arg : args)
            shown += " " + arg;
        const TProgramRun run = RunHost(args);
        EXPECT_EQ(2u, run.ExitCode) << "exit status of velmora-host" << shown;
        EXPECT_NE(std::string::npos, run.Err.find("Try 'velmora-host --help'.")) << "stderr of" << shown << ": " << run.Err;
        EXPECT_EQ("", run.Out) << "stdout of" << shown;
    }
}

TEST_F(HostCommand, ScorePrintsTheWindowsReportExactly)
{
    const TProgramRun run = RunHost({"score", SmallLogPath()});
    EXPECT_EQ(0u, run.ExitCode) << run.Err;
    EXPECT_EQ(std::string(kSmallLogRebuilt) + "\n", run.Out) << "got:\n" << Visible(run.Out);
    EXPECT_NE(std::string::npos, run.Err.find("5 contacts from")) << run.Err;
    EXPECT_NE(std::string::npos, run.Err.find("plug-in VelmoraCup (qorvex_contest)")) << run.Err;

    const std::string emptyLog = ScratchPath("empty.tsv");
    PutFile(emptyLog, "CallSign\tDigiBand\tQSOMode\tQSOReportRecived\n");
    const TProgramRun empty = RunHost({"score", emptyLog});
    EXPECT_EQ(0u, empty.ExitCode) << empty.Err;
    EXPECT_EQ(std::string(kEmptyReport) + "\n", empty.Out) << "report of a log without contacts";
    EXPECT_NE(std::string::npos, empty.Err.find(emptyLog + ": warning: ")) << "a log without contacts is said: " << empty.Err;
}

TEST_F(HostCommand, ReaderWarningsReachStandardErrorAndTheReportStaysWhole)
{
    const std::string log = ScratchPath("odd-columns.csv");
    PutFile(log, "call,band,mode,rcvd,comment\nW1AW,20m,CW,599 VC12,first\nK1ABC,20 metres,CW,599,second\n");
    const TLogReadResult expected = LoadLogFile(log);
    ASSERT_TRUE(expected.Ok());
    ASSERT_FALSE(expected.Warnings.empty()) << "the reader warns of the comment column and the odd band";
    const TProgramRun run = RunHost({"score", log});
    EXPECT_EQ(0u, run.ExitCode) << run.Err;
    for (const TLogWarning& warning : expected.Warnings)
        EXPECT_NE(std::string::npos, run.Err.find("velmora-host: " + warning.Message() + "\n"))
            << "warning " << warning.Message() << " in: " << run.Err;
    EXPECT_EQ(std::string::npos, run.Out.find("warning")) << "standard output carries only the report: " << run.Out;
}

TEST_F(HostCommand, UnreadableLogGivesTheReadersErrorAndExitOne)
{
    const std::string broken = ScratchPath("broken.adi");
    PutFile(broken, "<CALL:4>W1AW <BAND:2>20 <MODE:2>CW <EOR>\n<CALL:40>K1ABC <EOR>\n");
    const TLogReadResult expected = LoadLogFile(broken);
    ASSERT_FALSE(expected.Ok()) << "the broken log is refused by the reader";
    for (const char* command : {"score", "replay", "interactive"}) {
        const TProgramRun run = RunHost({command, broken});
        EXPECT_EQ(1u, run.ExitCode) << command << " exit status";
        EXPECT_EQ("velmora-host: " + expected.Error->Message() + "\n", run.Err) << command << " stderr";
        EXPECT_EQ("", run.Out) << command << " stdout";
    }

    const TProgramRun missing = RunHost({"score", ScratchPath("no-such-log.adi")});
    EXPECT_EQ(1u, missing.ExitCode) << "exit status for a missing log";
    EXPECT_NE(std::string::npos, missing.Err.find("no-such-log.adi")) << missing.Err;
}

TEST_F(HostCommand, PluginMessagesArePrintedAndDismissed)
{
    // The plug-in puts the table name into its statement unquoted; a name
    // with a space makes the statement invalid, and the plug-in says so in
    // an error box, which must neither block nor go unreported.
    const TProgramRun run = RunHost({"--table", "My Log", "score", SmallLogPath()});
    EXPECT_FALSE(run.TimedOut) << "a message box blocked the run";
    EXPECT_EQ(4u, run.ExitCode) << run.Err;
    EXPECT_EQ("\n", run.Out) << "the report the failed rebuild left (empty)";
    EXPECT_NE(std::string::npos,
              run.Err.find("plug-in message: Syntax error in the statement 'Select * from My Log order by CallSign'\n"))
        << run.Err;
    EXPECT_NE(std::string::npos, run.Err.find("showed 1 message(s)")) << run.Err;
}

TEST_F(HostCommand, ReplayLogsContactByContactAndChecksTheRebuild)
{
    // A table name of the host's choice: a rebuild can only find the logged
    // contacts when every record carried it.
    const TProgramRun run = RunHost({"--table", "Contest2024", "replay", SmallLogPath()});
    EXPECT_EQ(0u, run.ExitCode) << run.Err;
    const std::string expected = std::string("ROW\tCALL\tBAND\tMODE\tPREVIEW\tLOGGED\n") +
                                 "1\tK1ABC\t40\tSSB\tpreview 3\tlogged 3\n"
                                 "2\tW1AW\t20\tCW\tpreview 3\tlogged 3\n"
                                 "3\tW1AW\t20\tCW\tpreview duplicate\tlogged duplicate\n"
                                 "4\tW1AW\t40\tCW\tpreview 3\tlogged 3\n"
                                 "5\tDL1XX\t20\tCW\tpreview 1\tlogged 1\n"
                                 "Report after live logging:\n" +
                                 kSmallLogLive + "\nReport after \"Recalc Statistic\":\n" + kSmallLogRebuilt +
                                 "\nThe rebuild from the log table reproduces the tallies of live logging; the bands "
                                 "stand in\nanother order (a rebuild meets them in the order of the calls, live "
                                 "logging in the order\nin which each band was first logged).\n";
    EXPECT_EQ(expected, run.Out) << "got:\n" << Visible(run.Out);

    const std::string sameOrder = ScratchPath("same-order.tsv");
    PutFile(sameOrder, "CallSign\tDigiBand\tQSOMode\tQSOReportRecived\nA1A\t20\tCW\t599 VC1\nB1B\t40\tCW\t599\n");
    const TProgramRun identical = RunHost({"replay", sameOrder});
    EXPECT_EQ(0u, identical.ExitCode) << identical.Err;
    EXPECT_NE(std::string::npos,
              identical.Out.find("The rebuild from the log table reproduces the report of live logging.\n"))
        << identical.Out;
}

TEST_F(HostCommand, InteractiveSessionScriptedThroughStandardInput)
{
    const std::string members = ScratchPath("members.dom");
    PutFile(members, "W1AW=VC77\r\n");
    const std::string script = "W1AW 20 CW 599 VC12\n"
                               "W1AW 20 CW 599 VC12\n"
                               "w1aw 20 CW 599 vc12\n"
                               "grab W1AW\n"
                               "grab K1ABC\n"
                               "report\n"
                               "close\n"
                               "report\n"
                               "K1ABC 40 SSB 59 VC3\n"
                               "run\n"
                               "release\n"
                               "DL1XX 20 CW 599\n"
                               "run\n"
                               "recalc\n"
                               "frobnicate\n"
                               "quit\n"
                               "W9NOT 20 CW\n";
    const TProgramRun run = RunHost({"--members", members, "interactive"}, script);
    EXPECT_FALSE(run.TimedOut) << "the session did not end at 'quit'";
    EXPECT_EQ(0u, run.ExitCode) << run.Err;

    const std::string noWindow = " (the plug-in has no window and scores nothing; the contact is in the log)\n";
    const std::string afterRun =
        "Band\t  QSOs\tPoints\tVClist\t\r\n  40\t     1\t     3\t     1\t\r\n  20\t     2\t     6\t     1\t\r\n"
        "Total\t     3\t     9\t     2\t\r\n Score: 9*2=18\n";
    const std::string afterSecondRun =
        "Band\t  QSOs\tPoints\tVClist\t\r\n  20\t     3\t     7\t     1\t\r\n  40\t     1\t     3\t     1\t\r\n"
        "Total\t     4\t    10\t     2\t\r\n Score: 10*2=20\n";
    const std::string expected =
        std::string(kEmptyReport) + "\ntype 'help' for the commands\n" +
        "> W1AW 20 CW 599 VC12\nW1AW 20 CW: preview 3 points, logged 3 points\n"
        "> W1AW 20 CW 599 VC12\nW1AW 20 CW: preview duplicate, logged duplicate\n"
        "> w1aw 20 CW 599 vc12\nw1aw 20 CW: preview 3 points, logged 3 points\n"
        "> grab W1AW\nmember number of W1AW: VC77\n"
        "> grab K1ABC\nmember number of K1ABC: (none)\n"
        "> report\nBand\t  QSOs\tPoints\tVClist\t\r\n  20\t     2\t     6\t     1\t\r\n"
        "Total\t     2\t     6\t     1\t\r\n Score: 6*1=6\n"
        "> close\nthe window was asked to close; the plug-in has no window now\n"
        "> report\nthe plug-in has no window ('run' opens one)\n"
        "> K1ABC 40 SSB 59 VC3\nK1ABC 40 SSB: preview 0 points, logged 0 points" +
        noWindow + "> run\n" + afterRun +
        "> release\nthe window was given up; the plug-in has no window now\n"
        "> DL1XX 20 CW 599\nDL1XX 20 CW: preview 0 points, logged 0 points" +
        noWindow + "> run\n" + afterSecondRun + "> recalc\n" + afterSecondRun +
        "> frobnicate\nnot understood: 'frobnicate' (type 'help' for the commands)\n"
        "> quit\n";
    EXPECT_EQ(expected, run.Out) << "got:\n" << Visible(run.Out);

    const TProgramRun help = RunHost({"interactive"}, "help\n");
    EXPECT_EQ(0u, help.ExitCode) << help.Err;
    for (const char* piece : {"CALL BAND MODE [EXCHANGE...]", "grab CALL", "recalc", "report", "run", "close",
                              "release", "quit"})
        EXPECT_NE(std::string::npos, help.Out.find(piece)) << "interactive help mentions '" << piece << "'";
}

TEST_F(HostCommand, MemberFileServesTheSessionAlone)
{
    const std::string members = ScratchPath("session.dom");
    PutFile(members, "W1AW=VC77\r\n");

    // No member file before: the session sees its own, and none is left.
    TProgramRun run = RunHost({"--members", members, "interactive"}, "grab W1AW\n");
    EXPECT_NE(std::string::npos, run.Out.find("member number of W1AW: VC77\n")) << run.Out;
    EXPECT_FALSE(PathExists(MemberFilePath())) << "a member file was left behind";

    // The operator's own file: the session reads its own instead, and the
    // operator's is never touched.
    const std::string own = "W1AW=VC1\r\nK1ABC=VC2\r\n";
    PutFile(MemberFilePath(), own);
    run = RunHost({"--members", members, "interactive"}, "grab W1AW\ngrab K1ABC\n");
    EXPECT_NE(std::string::npos, run.Out.find("member number of W1AW: VC77\n")) << run.Out;
    EXPECT_NE(std::string::npos, run.Out.find("member number of K1ABC: (none)\n")) << run.Out;
    EXPECT_EQ(own, FileText(MemberFilePath())) << "the operator's member file after the session";

    // Without --members the plug-in reads the file that is there.
    run = RunHost({"interactive"}, "grab W1AW\n");
    EXPECT_NE(std::string::npos, run.Out.find("member number of W1AW: VC1\n")) << run.Out;

    run = RunHost({"--members", ScratchPath("no-such.dom"), "interactive"}, "quit\n");
    EXPECT_EQ(3u, run.ExitCode) << "exit status for a missing member file";
    EXPECT_NE(std::string::npos, run.Err.find("cannot read the member file")) << run.Err;
    EXPECT_EQ(own, FileText(MemberFilePath())) << "the operator's member file after a refused session";
}

namespace {

struct TPicture {
    bool Loaded = false;
    UINT Width = 0;
    UINT Height = 0;
    // Dark pixels in the middle band of the picture, where the report's
    // text stands; an empty or unpainted report box has none there.
    std::size_t DarkMiddlePixels = 0;
};

TPicture ExaminePng(const std::string& path)
{
    TPicture picture;
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
        return picture;
    {
        const std::wstring widePath(path.begin(), path.end());
        Gdiplus::Bitmap bitmap(widePath.c_str());
        if (bitmap.GetLastStatus() == Gdiplus::Ok) {
            picture.Loaded = true;
            picture.Width = bitmap.GetWidth();
            picture.Height = bitmap.GetHeight();
            for (UINT y = picture.Height / 4; y < picture.Height * 3 / 4; ++y) {
                for (UINT x = 0; x < picture.Width; ++x) {
                    Gdiplus::Color color;
                    bitmap.GetPixel(static_cast<INT>(x), static_cast<INT>(y), &color);
                    if (color.GetR() + color.GetG() + color.GetB() < 3 * 80)
                        ++picture.DarkMiddlePixels;
                }
            }
        }
    }
    Gdiplus::GdiplusShutdown(token);
    return picture;
}

}  // namespace

TEST_F(HostCommand, ScreenshotShowsTheWindowWithItsReport)
{
    const std::string png = ScratchPath("statistics.png");
    DeleteFileA(png.c_str());
    const TProgramRun run = RunHost({"score", SmallLogPath(), "--screenshot", png});
    EXPECT_EQ(0u, run.ExitCode) << run.Err;
    EXPECT_EQ(std::string(kSmallLogRebuilt) + "\n", run.Out) << "the report is printed as without a picture";
    ASSERT_TRUE(PathExists(png)) << "no picture written; stderr: " << run.Err;
    EXPECT_EQ("\x89PNG\r\n\x1a\n", FileText(png).substr(0, 8)) << "PNG signature";

    const TPicture picture = ExaminePng(png);
    ASSERT_TRUE(picture.Loaded) << "the picture cannot be read back";
    // The window as designed, frame and all, where the tests placed it.
    EXPECT_EQ(349u, picture.Width) << "picture width";
    EXPECT_EQ(196u, picture.Height) << "picture height";
    EXPECT_EQ(std::string::npos, run.Err.find("covers part")) << run.Err;
    EXPECT_GT(picture.DarkMiddlePixels, 200u) << "the report's text is not in the picture";

    const TProgramRun unwritable = RunHost({"score", SmallLogPath(), "--screenshot", ScratchPath("no\\such\\x.png")});
    EXPECT_EQ(3u, unwritable.ExitCode) << "exit status when the picture cannot be written";
    EXPECT_NE(std::string::npos, unwritable.Err.find("no picture of the statistics window")) << unwritable.Err;
}

TEST_F(HostCommand, MissingPluginIsReported)
{
    const TProgramRun run = RunHost({"--plugin", ScratchPath("NoSuchPlugin.dll"), "score", SmallLogPath()});
    EXPECT_EQ(3u, run.ExitCode) << "exit status without a plug-in";
    EXPECT_NE(std::string::npos, run.Err.find("no plug-in at")) << run.Err;
    EXPECT_EQ("", run.Out);
}
