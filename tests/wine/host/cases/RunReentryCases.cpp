// _Run called again from a host message that the first _Run lets through
// before its window is on screen: from the first message pass of the showing's
// rebuild, and from the modal loop of the member file's error box while the
// window is being created. Either way there is one window, one rebuild and one
// placement load.
#include <string>
#include <utility>

#include "Checks.h"
#include "HostCase.h"
#include "HostRegistry.h"
#include "HostSession.h"
#include "hostkit/HostProcess.h"
#include "window/Win32Handles.h"

namespace host {
namespace {

struct TWindowCount {
    const char* ClassName;
    int Found = 0;
};

BOOL CALLBACK CountMatchingWindow(HWND window, LPARAM param)
{
    auto& count = *reinterpret_cast<TWindowCount*>(param);
    count.Found += hostkit::ClassNameOf(window) == count.ClassName;
    return TRUE;
}

int CountThreadWindows(const char* className)
{
    TWindowCount count{className};
    EnumThreadWindows(GetCurrentThreadId(), &CountMatchingWindow, reinterpret_cast<LPARAM>(&count));
    return count.Found;
}

// Plugins\VC.dom held open without sharing, as another program may hold it:
// the plug-in cannot open it and shows its error box.
class TMemberFileHeldOpen {
public:
    TMemberFileHeldOpen()
        : Path(hostkit::FolderOf(hostkit::ExecutablePath()) + "Plugins\\VC.dom"),
          Handle_(CreateFileA(Path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
    {
        REQUIRE(Handle_.Valid(), "member file held open without sharing by the host");
    }
    ~TMemberFileHeldOpen() { LetGo(); }
    TMemberFileHeldOpen(const TMemberFileHeldOpen&) = delete;
    TMemberFileHeldOpen& operator=(const TMemberFileHeldOpen&) = delete;

    void LetGo() { Handle_.Reset(); }

    const std::string Path;

private:
    TScopedFile Handle_;
};

// What a _Run called from inside the outer one saw and what it started.
struct TInnerRun {
    bool Ran = false;
    HWND Handle = reinterpret_cast<HWND>(-1);
    int WindowsAtTheTime = 0;

    void Call(TCaseSession& session)
    {
        const hostkit::THostRecord record = session.Record();
        Handle = session.Plugin().Run(record.Get());
        Ran = true;
        WindowsAtTheTime = CountThreadWindows("TfmMainForm");
    }
};

// The one window is the one _Release lets go: nothing is left out of its reach.
void CheckReleaseLeavesNoWindow(TCaseSession& session)
{
    session.Plugin().Release();
    hostkit::PumpMessages();
    CHECK_EQ(0, CountThreadWindows("TfmMainForm"), "statistics windows after _Release");
}

}  // namespace

// A host message waiting when _Run starts runs in the showing's first pass; a _Run there shows nothing a second time.
HOST_CASE(VcWindowRunFromFirstShowPass, "_Run from a host message handled while the first _Run shows its window")
{
    TCaseSession session;
    AddRows(session.Table, {{"DL1ABC", "20M", "CW", std::string("VC12")}, {"OK1AA", "40M", "CW", std::string("599")}});
    WritePlacementText("NormPos", "100,120,500,420");
    int rebuildsStarted = 0;
    TSentMessageWatch countRebuilds([&](const CWPSTRUCT& message) { rebuildsStarted += IsRecalcButtonDisabling(message); });

    TInnerRun inner;
    session.Actions.Post([&] {
        // A placement loaded again now would move the window here.
        WritePlacementText("NormPos", "300,320,700,620");
        inner.Call(session);
    });
    const HWND window = session.Run();

    REQUIRE(window != nullptr, "the outer _Run returns a window");
    CHECK_EQ(true, inner.Ran, "host message handled before the outer _Run returned");
    CHECK_EQ(window, inner.Handle, "handle the inner _Run returns");
    CHECK_EQ(1, inner.WindowsAtTheTime, "statistics windows while the inner _Run ran");
    CHECK_EQ(1, rebuildsStarted, "rebuilds started by the two _Run calls");
    CHECK_EQ(1, CountThreadWindows("TfmMainForm"), "statistics windows after both _Run calls");
    CHECK_EQ(true, IsWindowVisible(window) != FALSE, "window visible");
    const RECT where = hostkit::WindowRectOf(window);
    CHECK_EQ(100, where.left, "left: from the placement loaded once, before the message ran");
    CHECK_EQ(120, where.top, "top: from the placement loaded once");
    CHECK_EQ(ExpectedReport({{"20M", 1, 3, 1}, {"40M", 1, 1, 0}}), session.Report(), "report after both _Run calls");
    CHECK_EQ(-1, session.Add("DL1ABC", "20M", "CW", "VC12"), "a table row is a duplicate: rebuilt exactly once");
    CHECK_EQ("", session.Boxes.TakeTexts(), "message boxes");
    CheckReleaseLeavesNoWindow(session);
}

// The close box pressed while the first _Run shows the window: shown once, then minimised, as on a shown window.
HOST_CASE(VcWindowCloseBoxDuringFirstShow, "WM_SYSCOMMAND SC_CLOSE from a host message handled in the first showing")
{
    TCaseSession session;
    AddRows(session.Table, {{"DL1ABC", "20M", "CW", std::string("VC12")}});
    int rebuildsStarted = 0;
    TSentMessageWatch countRebuilds([&](const CWPSTRUCT& message) { rebuildsStarted += IsRecalcButtonDisabling(message); });
    bool pressed = false;
    session.Actions.Post([&] {
        SendMessageA(hostkit::FindThreadWindow("TfmMainForm"), WM_SYSCOMMAND, SC_CLOSE, 0);
        pressed = true;
    });
    const HWND window = session.Run();

    REQUIRE(window != nullptr, "_Run returns a window");
    CHECK_EQ(true, pressed, "close box pressed before _Run returned");
    CHECK_EQ(1, rebuildsStarted, "rebuilds started");
    CHECK_EQ(true, IsWindowVisible(window) != FALSE, "window visible");
    CHECK_EQ(true, IsIconic(window) != FALSE, "window minimised once shown");
    CHECK_EQ(ExpectedReport({{"20M", 1, 3, 1}}), session.Report(), "report");
    CHECK_EQ(1, session.Add("OK1AA", "40M", "CW", "599"), "_AddQSO: scoring goes on");
}

// The member file's error box lets a host message through while the window is created: _Run there answers 0, no second window.
HOST_CASE(VcWindowRunFromCreationErrorBox, "_Run from a host message handled by the member file's error box",
          .MemberFile = "DL1ABC=123\r\n")
{
    TCaseSession session;
    AddRows(session.Table, {{"DL1ABC", "20M", "CW", std::string("VC12")}});
    TMemberFileHeldOpen memberFile;
    int rebuildsStarted = 0;
    TSentMessageWatch countRebuilds([&](const CWPSTRUCT& message) { rebuildsStarted += IsRecalcButtonDisabling(message); });

    TInnerRun inner;
    bool posted = false;
    session.Boxes.OnEachBox([&](HWND) {
        if (std::exchange(posted, true))
            return;
        session.Actions.Post([&] { inner.Call(session); });
    });
    const HWND window = session.Run();
    session.Boxes.OnEachBox(nullptr);
    memberFile.LetGo();

    CHECK_EQ("Cannot open file " + memberFile.Path + ".", session.Boxes.TakeTexts(), "message boxes: the member file's, once");
    CHECK_EQ(true, posted, "the member file's error box came up");
    REQUIRE(window != nullptr, "the outer _Run returns a window");
    CHECK_EQ(true, inner.Ran, "host message handled by the error box before the outer _Run returned");
    CHECK_EQ(static_cast<HWND>(nullptr), inner.Handle, "handle the inner _Run returns while the window cannot be shown yet");
    CHECK_EQ(1, inner.WindowsAtTheTime, "statistics windows while the inner _Run ran");
    CHECK_EQ(1, rebuildsStarted, "rebuilds started by the two _Run calls");
    CHECK_EQ(1, CountThreadWindows("TfmMainForm"), "statistics windows after both _Run calls");
    CHECK_EQ(true, IsWindowVisible(window) != FALSE, "window visible");
    CHECK_EQ(ExpectedReport({{"20M", 1, 3, 1}}), session.Report(), "report after both _Run calls");
    CHECK_EQ(window, session.Run(), "a later _Run finds the one window");
    CheckReleaseLeavesNoWindow(session);
}

// The window destroyed by the host from inside the member file's error box: _Run answers 0 and the next _Run starts afresh.
HOST_CASE(VcWindowDestroyedWhileCreated, "DestroyWindow on the statistics window while its creation shows an error box",
          .MemberFile = "DL1ABC=123\r\n")
{
    TCaseSession session;
    AddRows(session.Table, {{"DL1ABC", "20M", "CW", std::string("VC12")}});
    TMemberFileHeldOpen memberFile;

    bool destroyed = false;
    session.Boxes.OnEachBox([&](HWND) {
        if (!destroyed)
            destroyed = DestroyWindow(hostkit::FindThreadWindow("TfmMainForm")) != FALSE;
    });
    const HWND failed = session.Run();
    session.Boxes.OnEachBox(nullptr);
    memberFile.LetGo();

    CHECK_EQ("Cannot open file " + memberFile.Path + ".", session.Boxes.TakeTexts(), "message boxes: the member file's");
    CHECK_EQ(true, destroyed, "window destroyed from inside the error box");
    CHECK_EQ(static_cast<HWND>(nullptr), failed, "handle _Run returns for the window destroyed while it was created");
    CHECK_EQ(0, CountThreadWindows("TfmMainForm"), "statistics windows after that _Run");
    CHECK_EQ(0, session.Preview("DL1ABC", "20M", "CW"), "_GetScore with no window");

    const HWND window = session.Run();
    REQUIRE(window != nullptr, "the next _Run returns a window");
    CHECK_EQ(true, IsWindowVisible(window) != FALSE, "window visible");
    CHECK_EQ(ExpectedReport({{"20M", 1, 3, 1}}), session.Report(), "report of the new window");
    CHECK_EQ("123", session.Grab("DL1ABC"), "_GrabNumber from the member file, readable again");
}

}  // namespace host
