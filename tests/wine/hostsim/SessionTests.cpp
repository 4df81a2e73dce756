// What a user of velmora-host can count on: a session with its own member
// file never writes a file of the user's, even when killed; the interactive
// prompt refuses what it does not understand and edits the log table as an
// operator does; and every failure says what happened, on standard error.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "HostProgram.h"
#include "window/Win32Handles.h"

using namespace hostsim;

namespace {

constexpr char kEmptyReport[] = "Band\t  QSOs\tPoints\tVClist\t\r\nTotal\t     0\t     0\t     0\t\r\n Score: 0*0=0";

std::string MemberFilePath() { return HostFolder() + "Plugins\\VC.dom"; }

std::string SessionRoot()
{
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temp, temp);
    std::string root = temp;
    if (!root.empty() && root.back() != '\\')
        root += '\\';
    return root + "velmora-host-sessions\\";
}

// The names in the sessions' folder: session folders and their locks.
std::set<std::string> SessionEntries()
{
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    const TScopedFind search(FindFirstFileA((SessionRoot() + "session-*").c_str(), &found));
    if (!search.Valid())
        return names;
    do
        names.insert(found.cFileName);
    while (FindNextFileA(search.Get(), &found));
    return names;
}

// velmora-host started with a standard input that stays open, so the
// session waits at its prompt until the test does something about it.
class TWaitingHost {
public:
    TWaitingHost(const std::vector<std::string>& args, const std::string& outputPath) : OutputPath_(outputPath)
    {
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        TScopedKernelHandle readEnd;
        if (!CreatePipe(readEnd.Receive(), InputWriteEnd_.Receive(), &inherit, 0))
            throw std::runtime_error("cannot make a pipe");
        SetHandleInformation(InputWriteEnd_.Get(), HANDLE_FLAG_INHERIT, 0);
        TScopedFile output(CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = readEnd.Get();
        startup.hStdOutput = output.Get();
        startup.hStdError = output.Get();
        const std::string exe = HostFolder() + kHostName + ".exe";
        std::string commandLine = "\"" + exe + "\"";
        for (const std::string& arg : args)
            commandLine += " \"" + arg + "\"";
        PROCESS_INFORMATION process = {};
        const BOOL started = CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                            HostFolder().c_str(), &startup, &process);
        // The child has its own copies; the pipe ends only when ours go too.
        readEnd.Reset();
        output.Reset();
        if (!started)
            throw std::runtime_error("cannot start " + exe);
        Process_.Reset(process.hProcess);
        const TScopedKernelHandle thread(process.hThread);
    }
    ~TWaitingHost()
    {
        InputWriteEnd_.Reset();
        TerminateProcess(Process_.Get(), 1);
        WaitForSingleObject(Process_.Get(), 10000);
    }
    TWaitingHost(const TWaitingHost&) = delete;
    TWaitingHost& operator=(const TWaitingHost&) = delete;

    // True once the output holds `text`, false after a minute without.
    bool WaitFor(const std::string& text) const
    {
        for (int wait = 0; wait < 600; ++wait) {
            if (FileText(OutputPath_).find(text) != std::string::npos)
                return true;
            if (WaitForSingleObject(Process_.Get(), 100) == WAIT_OBJECT_0)
                return FileText(OutputPath_).find(text) != std::string::npos;
        }
        return false;
    }
    // As a power cut or `kill -9` ends it: no code of its own runs.
    void Kill() const
    {
        TerminateProcess(Process_.Get(), 137);
        WaitForSingleObject(Process_.Get(), 10000);
    }

private:
    std::string OutputPath_;
    TScopedKernelHandle InputWriteEnd_;
    TScopedKernelHandle Process_;
};

class PrivateSession : public ::testing::Test {
protected:
    void SetUp() override { DeleteFileA(MemberFilePath().c_str()); }
    void TearDown() override { DeleteFileA(MemberFilePath().c_str()); }
};

}  // namespace

TEST_F(PrivateSession, KilledSessionLeavesEveryFileAsItWasAndNothingInTheWay)
{
    const std::string own = "W1AW=VC1\r\nK1ABC=VC2\r\n";
    PutFile(MemberFilePath(), own);
    const std::string members = ScratchPath("killed session.dom");
    const std::string sessionMembers = "W1AW=VC77\r\n";
    PutFile(members, sessionMembers);
    const std::set<std::string> before = SessionEntries();

    std::set<std::string> during;
    {
        const TWaitingHost host({"--members", members, "interactive"}, ScratchPath("killed.out"));
        ASSERT_TRUE(host.WaitFor("type 'help' for the commands")) << FileText(ScratchPath("killed.out"));
        during = SessionEntries();
        host.Kill();
    }
    std::vector<std::string> made;
    for (const std::string& name : during)
        if (!before.count(name))
            made.push_back(name);
    EXPECT_FALSE(made.empty()) << "the session ran from no folder of its own";
    EXPECT_EQ(own, FileText(MemberFilePath())) << "the member file beside the program";
    EXPECT_EQ(sessionMembers, FileText(members)) << "the member file given with --members";

    // The next session starts as if nothing had happened and clears away
    // what the killed one left.
    const TProgramRun next = RunHost({"--members", members, "interactive"}, "grab W1AW\ngrab K1ABC\n");
    EXPECT_EQ(0u, next.ExitCode) << next.Err;
    EXPECT_NE(std::string::npos, next.Out.find("member number of W1AW: VC77\n")) << next.Out;
    EXPECT_NE(std::string::npos, next.Out.find("member number of K1ABC: (none)\n")) << next.Out;
    const std::set<std::string> after = SessionEntries();
    for (const std::string& name : made)
        EXPECT_EQ(0u, after.count(name)) << name << " left behind in " << SessionRoot();
    EXPECT_EQ(own, FileText(MemberFilePath())) << "the member file beside the program after the next session";
}

TEST_F(PrivateSession, AStartClearsAbandonedFoldersButNotThoseOfLiveSessions)
{
    CreateDirectoryA(SessionRoot().c_str(), nullptr);
    const std::string live = SessionRoot() + "session-test-live";
    const std::string abandoned = SessionRoot() + "session-test-abandoned";
    for (const std::string& folder : {live, abandoned}) {
        CreateDirectoryA(folder.c_str(), nullptr);
        CreateDirectoryA((folder + "\\Plugins").c_str(), nullptr);
        PutFile(folder + "\\Plugins\\VC.dom", "W1AW=VC1\r\n");
    }
    // A live session holds its lock open; the abandoned one's lock is a
    // leftover file nobody holds.
    TScopedFile lock(CreateFileA((live + ".lock").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(lock.Valid());
    PutFile(abandoned + ".lock", "");

    RunHost({"interactive"}, "quit\n");
    EXPECT_TRUE(PathExists(live + "\\Plugins\\VC.dom")) << "a live session's folder was taken away";
    EXPECT_FALSE(PathExists(abandoned)) << "an abandoned folder was left";
    EXPECT_FALSE(PathExists(abandoned + ".lock")) << "an abandoned lock was left";

    lock.Reset();
    RunHost({"interactive"}, "quit\n");
    EXPECT_FALSE(PathExists(live)) << "the folder outlived its session";
    DeleteFileA((live + ".lock").c_str());
}

TEST_F(PrivateSession, TheCopyGetsTheCommandLineIntact)
{
    const std::string members = ScratchPath("members with blanks.dom");
    PutFile(members, "K1ABC=VC3\r\n");
    const std::string log = ScratchPath("log with blanks.csv");
    PutFile(log, "CallSign,DigiBand,QSOMode,QSOReportRecived\r\nK1ABC,40,SSB,59 VC3\r\n");
    const std::set<std::string> before = SessionEntries();

    const TProgramRun run = RunHost({"--members", members, "--table", "Contest \"A\"", "score", log});
    // The table's name with its blank and quotes reaches the plug-in's
    // statement, which the database refuses: proof it arrived whole.
    EXPECT_EQ(4u, run.ExitCode) << run.Err;
    EXPECT_NE(std::string::npos, run.Err.find("'Select * from Contest \"A\" order by CallSign'")) << run.Err;
    EXPECT_EQ(before, SessionEntries()) << "the session's folder outlived it";
}

TEST(InteractiveInput, MalformedLinesAreRefusedAndChangeNothing)
{
    const std::vector<std::string> refused = {
        "show me report",   "grab OK6EQR extra", "grab",         "list all",    "delete",   "delete 1 2",
        "recalc now",       "quit now",          "W1AW twenty CW", "W1AW 20 C-W", "W1AW 2O CW", "W-1AW 20 CW",
        "RUN 20 CW 599",    "help me",
    };
    std::string script;
    for (const std::string& line : refused)
        script += line + "\n";
    script += "list\nrecalc\n";
    const TProgramRun run = RunHost({"interactive"}, script);
    EXPECT_EQ(0u, run.ExitCode) << run.Err;
    for (const std::string& line : refused)
        EXPECT_NE(std::string::npos, run.Out.find("> " + line + "\nnot understood: '" + line + "'"))
            << "'" << line << "' not refused:\n"
            << run.Out;
    EXPECT_EQ(std::string::npos, run.Out.find("preview")) << "a refused line was logged:\n" << run.Out;
    EXPECT_NE(std::string::npos, run.Out.find("> list\nthe log table holds no contacts\n")) << run.Out;
    EXPECT_NE(std::string::npos, run.Out.find("> recalc\n" + std::string(kEmptyReport) + "\n")) << run.Out;
}

TEST(InteractiveInput, DeletedContactsLeaveTheStatisticsAtTheNextRecalc)
{
    const std::string script = "W1AW 20 CW 599 VC12\n"
                               "K1ABC 40 SSB 59\n"
                               "DL1XX 20 cw 599 VC7\n"
                               "list\n"
                               "delete 1\n"
                               "delete 0\n"
                               "delete 3\n"
                               "report\n"
                               "list\n"
                               "recalc\n";
    const TProgramRun run = RunHost({"interactive"}, script);
    EXPECT_EQ(0u, run.ExitCode) << run.Err;
    const std::string live = "Band\t  QSOs\tPoints\tVClist\t\r\n  20\t     2\t     6\t     2\t\r\n"
                             "  40\t     1\t     1\t     0\t\r\nTotal\t     3\t     7\t     2\t\r\n Score: 7*2=14\n";
    const std::string rebuilt = "Band\t  QSOs\tPoints\tVClist\t\r\n  20\t     1\t     3\t     1\t\r\n"
                                "  40\t     1\t     1\t     0\t\r\nTotal\t     2\t     4\t     1\t\r\n Score: 4*1=4\n";
    const std::string expected =
        "> list\n1\tW1AW 20 CW 599 VC12\n2\tK1ABC 40 SSB 59\n3\tDL1XX 20 cw 599 VC7\n"
        "> delete 1\nrow 1 deleted (W1AW 20 CW 599 VC12); the statistics change when \"Recalc Statistic\" is "
        "pressed ('recalc')\n"
        "> delete 0\nno row '0': the log table holds 2 contacts ('list' shows them); nothing changed\n"
        "> delete 3\nno row '3': the log table holds 2 contacts ('list' shows them); nothing changed\n"
        "> report\n" +
        live + "> list\n1\tK1ABC 40 SSB 59\n2\tDL1XX 20 cw 599 VC7\n> recalc\n" + rebuilt;
    const std::size_t from = run.Out.find("> list\n");
    ASSERT_NE(std::string::npos, from) << run.Out;
    EXPECT_EQ(expected, run.Out.substr(from)) << "got:\n" << Visible(run.Out.substr(from));
}

TEST(HostMessages, MissingPluginAndFilesThatAreNoLoadableDll)
{
    PutFile(ScratchPath("x.csv"), "CallSign,DigiBand,QSOMode,QSOReportRecived\r\nW1AW,20,CW,599\r\n");
    const TProgramRun missing = RunHost({"--plugin", ScratchPath("NoSuchPlugin.dll"), "score", ScratchPath("x.csv")});
    EXPECT_EQ(3u, missing.ExitCode);
    EXPECT_EQ("velmora-host: no plug-in at " + ScratchPath("NoSuchPlugin.dll") + ": there is no such file\n",
              missing.Err);

    const std::string text = ScratchPath("NotADll.dll");
    PutFile(text, "This is a text file that merely ends in .dll\r\n");
    // A 64-bit DLL's headers: MZ, the PE signature at 0x40, machine x64,
    // characteristics "DLL".
    std::string wide(0x200, '\0');
    wide[0] = 'M';
    wide[1] = 'Z';
    wide[0x3C] = 0x40;
    wide.replace(0x40, 4, std::string("PE\0\0", 4));
    wide[0x44] = static_cast<char>(0x64);
    wide[0x45] = static_cast<char>(0x86);
    wide[0x40 + 22] = 0x02;
    wide[0x40 + 23] = 0x20;
    const std::string x64 = ScratchPath("Wide64.dll");
    PutFile(x64, wide);

    const struct {
        std::string Path;
        const char* Why;
    } cases[] = {{text, "it is not a Windows program file"}, {x64, "it is a 64-bit (x64) file"}};
    for (const auto& each : cases) {
        const TProgramRun run = RunHost({"--plugin", each.Path, "score", ScratchPath("x.csv")});
        EXPECT_EQ(3u, run.ExitCode) << run.Err;
        EXPECT_EQ("", run.Out);
        EXPECT_EQ(0u, run.Err.find("velmora-host: " + each.Path + " is not a loadable 32-bit DLL: " + each.Why))
            << run.Err;
        // The system's own reason follows, with its error number and the
        // file's name in place of the system's placeholder.
        EXPECT_NE(std::string::npos, run.Err.find("; the system says: ")) << run.Err;
        EXPECT_NE(std::string::npos, run.Err.find("(error ")) << run.Err;
        EXPECT_EQ(std::string::npos, run.Err.find("%1")) << run.Err;
    }
}

TEST(HostMessages, ALoadableDllWithoutTheEntryPointsIsNotCalledUnloadable)
{
    PutFile(ScratchPath("x.csv"), "CallSign,DigiBand,QSOMode,QSOReportRecived\r\nW1AW,20,CW,599\r\n");
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    const std::string library = std::string(system) + "\\version.dll";
    const TProgramRun run = RunHost({"--plugin", library, "score", ScratchPath("x.csv")});
    EXPECT_EQ(3u, run.ExitCode) << run.Err;
    EXPECT_NE(std::string::npos, run.Err.find("has no export _")) << run.Err;
    EXPECT_EQ(std::string::npos, run.Err.find("not a loadable")) << run.Err;
}

TEST(HostMessages, MemberFileAndPictureProblemsSayWhy)
{
    PutFile(ScratchPath("x.csv"), "CallSign,DigiBand,QSOMode,QSOReportRecived\r\nW1AW,20,CW,599\r\n");
    const TProgramRun missing = RunHost({"--members", ScratchPath("absent.dom"), "score", ScratchPath("x.csv")});
    EXPECT_EQ(3u, missing.ExitCode);
    EXPECT_EQ(0u, missing.Err.find("velmora-host: cannot read the member file " + ScratchPath("absent.dom") + ": "))
        << missing.Err;
    EXPECT_NE(std::string::npos, missing.Err.find("(error 2)")) << "the system's reason:" << missing.Err;

    CreateDirectoryA(ScratchPath("a folder.dom").c_str(), nullptr);
    const TProgramRun folder = RunHost({"--members", ScratchPath("a folder.dom"), "score", ScratchPath("x.csv")});
    EXPECT_EQ(3u, folder.ExitCode);
    EXPECT_EQ(0u, folder.Err.find("velmora-host: cannot read the member file")) << folder.Err;
    EXPECT_NE(std::string::npos, folder.Err.find("(error ")) << folder.Err;

    const std::string png = ScratchPath("no-such-folder\\statistics.png");
    const TProgramRun picture = RunHost({"score", ScratchPath("x.csv"), "--screenshot", png});
    EXPECT_EQ(3u, picture.ExitCode);
    EXPECT_EQ("velmora-host: no picture of the statistics window can be saved to " + png + ": the folder " +
                  ScratchPath("no-such-folder\\") + " does not exist\n",
              picture.Err);
    EXPECT_EQ(std::string::npos, picture.Err.find("GDI+")) << picture.Err;
    EXPECT_EQ("", picture.Out);
}

TEST(HostMessages, StandardOutputCarriesOnlyTheReport)
{
    PutFile(ScratchPath("x.csv"), "CallSign,DigiBand,QSOMode,QSOReportRecived\r\nW1AW,20,CW,599\r\n");
    const TProgramRun run = RunHost({"--table", "My Log", "score", ScratchPath("x.csv")});
    EXPECT_EQ(4u, run.ExitCode) << run.Err;
    EXPECT_EQ("\n", run.Out) << "the report the failed rebuild left (empty), nothing else";
    EXPECT_NE(std::string::npos,
              run.Err.find("plug-in message: Syntax error in the statement 'Select * from My Log order by CallSign'\n"))
        << run.Err;

    const TProgramRun version = RunHost({"--version"});
    EXPECT_EQ(0u, version.ExitCode);
    EXPECT_EQ(0u, version.Out.find("velmora-host ")) << version.Out;
    EXPECT_EQ('\n', version.Out.back());
    EXPECT_EQ("", version.Err);
}
