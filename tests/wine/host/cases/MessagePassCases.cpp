// The two message passes of a rebuild: the host's own messages run inside
// them, entry points called there see the state as the rebuild has left it,
// and a close or _Release arriving there waits until the rebuild has ended.
#include <functional>
#include <memory>

#include "Checks.h"
#include "HostCase.h"
#include "HostRegistry.h"
#include "HostSession.h"

namespace host {
namespace {

// Runs `action` (once) from the message pass that follows the disabling of
// the button: the pass right after the query is opened. The action is posted
// to the host's window at the moment the button is disabled, and nothing
// between that moment and the pass turns the message loop.
class TSecondPass {
public:
    TSecondPass(TCaseSession& session, const std::function<void(HWND form)>& action)
        : Watch_([this, &session, action](const CWPSTRUCT& message) {
              if (Armed_ && IsRecalcButtonDisabling(message)) {
                  Armed_ = false;
                  const HWND form = GetAncestor(message.hwnd, GA_ROOT);
                  session.Actions.Post([action, form] { action(form); });
              }
          })
    {
    }

private:
    bool Armed_ = true;
    TSentMessageWatch Watch_;
};

void AddStandardRows(TCaseSession& session)
{
    AddRows(session.Table, {{"DL1ABC", "20M", "CW", std::string("VC12")}, {"OK1AA", "40M", "CW", std::string("599")}});
}

}  // namespace

// Entry points called from the first pass see the old state; from the second, the emptied one; what they add there stays.
HOST_CASE(VcPassEntryPointsSeeRebuildState, "_GetScore/_AddQSO called from inside both passes of a rebuild")
{
    TCaseSession session;
    AddStandardRows(session);
    const HWND window = session.Run();
    REQUIRE(window != nullptr, "_Run returns a window");
    AddRows(session.Table, {{"G4XYZ", "15M", "CW", std::string("VC5")}});

    struct {
        bool Ran = false;
        bool ButtonEnabled = false;
        std::int32_t Score = 0;
        std::int32_t Added = 0;
        HWND RunHandle = nullptr;
    } first, second;

    session.Actions.Post([&] {
        first.Ran = true;
        first.ButtonEnabled = hostkit::RecalcEnabled(window);
        first.Score = session.Preview("DL1ABC", "20M", "CW", "VC12");
    });
    TSecondPass pass(session, [&](HWND form) {
        second.Ran = true;
        second.ButtonEnabled = hostkit::RecalcEnabled(form);
        second.Score = session.Preview("DL1ABC", "20M", "CW", "VC12");
        second.Added = session.Add("A1A", "10M", "CW", "VC9");
        const hostkit::THostRecord record = session.Record();
        second.RunHandle = session.Plugin().Run(record.Get());
    });
    hostkit::ClickRecalc(window);

    CHECK_EQ(true, first.Ran, "host message handled in the first pass, before the press returned");
    CHECK_EQ(true, first.ButtonEnabled, "button enabled during the first pass");
    CHECK_EQ(-1, first.Score, "_GetScore of a table row in the first pass: the old state");
    CHECK_EQ(true, second.Ran, "host message handled in the second pass, before the press returned");
    CHECK_EQ(false, second.ButtonEnabled, "button enabled during the second pass");
    CHECK_EQ(3, second.Score, "_GetScore of a table row in the second pass: the state is empty");
    CHECK_EQ(3, second.Added, "_AddQSO of a new contact in the second pass");
    CHECK_EQ(window, second.RunHandle, "_Run in the second pass returns the window");

    CHECK_EQ(true, hostkit::RecalcEnabled(window), "button enabled after the rebuild");
    CHECK_EQ(ExpectedReport({{"10M", 1, 3, 1}, {"20M", 1, 3, 1}, {"15M", 1, 3, 1}, {"40M", 1, 1, 0}}), session.Report(),
             "report: the contact added in the pass plus every row");
    CHECK_EQ(-1, session.Add("A1A", "10M", "CW", "VC9"), "the contact added in the pass is a duplicate afterwards");
    CHECK_EQ(-1, session.Add("G4XYZ", "15M", "CW", "VC5"), "the new row is a duplicate afterwards");
}

// A press inside the first pass starts a nested rebuild (the action is still enabled); inside the second it does nothing.
HOST_CASE(VcPassButtonPressedInsidePasses, "Recalc Statistic pressed from inside the passes")
{
    TCaseSession session;
    AddStandardRows(session);
    const HWND window = session.Run();
    REQUIRE(window != nullptr, "_Run returns a window");
    int rebuildsStarted = 0;
    TSentMessageWatch countRebuilds([&](const CWPSTRUCT& message) { rebuildsStarted += IsRecalcButtonDisabling(message); });

    {
        TSecondPass pass(session, [](HWND form) { hostkit::ClickRecalc(form); });
        hostkit::ClickRecalc(window);
    }
    CHECK_EQ(1, rebuildsStarted, "rebuilds started by a press plus a press inside its second pass");
    CHECK_EQ(ExpectedReport({{"20M", 1, 3, 1}, {"40M", 1, 1, 0}}), session.Report(), "report after both presses");
    CHECK_EQ(true, hostkit::RecalcEnabled(window), "button enabled after both presses");

    rebuildsStarted = 0;
    session.Actions.Post([window] { hostkit::ClickRecalc(window); });
    hostkit::ClickRecalc(window);
    CHECK_EQ(2, rebuildsStarted, "rebuilds started by a press plus a press inside its first pass");
    CHECK_EQ(ExpectedReport({{"20M", 1, 3, 1}, {"40M", 1, 1, 0}}), session.Report(), "report after the nested rebuild");
    CHECK_EQ(true, hostkit::RecalcEnabled(window), "button enabled after the nested rebuild");
    CHECK_EQ(-1, session.Add("DL1ABC", "20M", "CW"), "table row after the nested rebuild");
}

// WM_CLOSE in either pass waits for the rebuild to finish, then closes: state released, hidden, saved with Visible 0.
HOST_CASE(VcPassCloseDeferred, "a close request arriving in a pass completes after the rebuild")
{
    TCaseSession session;
    AddStandardRows(session);
    const std::string full = ExpectedReport({{"20M", 1, 3, 1}, {"40M", 1, 1, 0}});

    const HWND window = session.Run();
    REQUIRE(window != nullptr, "_Run returns a window");
    bool closeDispatched = false;
    {
        TSecondPass pass(session, [&](HWND form) {
            PostMessageA(form, WM_CLOSE, 0, 0);
            // Runs after the WM_CLOSE, in the same pass.
            session.Actions.Post([&] { closeDispatched = true; });
        });
        hostkit::ClickRecalc(window);
    }
    CHECK_EQ(true, closeDispatched, "WM_CLOSE dispatched inside the second pass");
    CHECK_EQ(true, IsWindow(window) != FALSE, "window exists right after the press");
    CHECK_EQ(full, hostkit::ReportText(window), "report right after the press: the rebuild ran to its end");
    hostkit::PumpMessages();
    CHECK_EQ(0, session.Preview("DL1ABC", "20M", "CW"), "_GetScore after the deferred close");
    CHECK_EQ(false, IsWindowVisible(window) != FALSE, "window visible after the deferred close");
    CHECK_EQ("0", PlacementText("Visible"), "\"Visible\" saved by the deferred close");
    CHECK_EQ(false, IsWindow(window) != FALSE, "closed window destroyed after a turn of the loop");

    // The same in the first pass, before the button is disabled.
    DeletePlacementValue("Visible");
    const HWND second = session.Run();
    REQUIRE(second != nullptr && IsWindowVisible(second), "_Run after the close shows a new window");
    PostMessageA(second, WM_CLOSE, 0, 0);
    hostkit::ClickRecalc(second);
    CHECK_EQ(full, hostkit::ReportText(second), "report right after a press whose first pass closed the window");
    hostkit::PumpMessages();
    CHECK_EQ(0, session.Preview("DL1ABC", "20M", "CW"), "_GetScore after a close in the first pass");
    CHECK_EQ(false, IsWindowVisible(second) != FALSE, "window visible after a close in the first pass");
    CHECK_EQ("0", PlacementText("Visible"), "\"Visible\" saved by a close in the first pass");
}

// WM_CLOSE during the rebuild that _Run's first show starts: _Run still returns the handle and the close completes.
HOST_CASE(VcPassCloseDuringFirstShow, "a close request in a pass of _Run's own rebuild")
{
    TCaseSession session;
    AddStandardRows(session);
    HWND window = nullptr;
    {
        TSecondPass pass(session, [](HWND form) { PostMessageA(form, WM_CLOSE, 0, 0); });
        window = session.Run();
    }
    CHECK(window != nullptr, "_Run returns a handle although the window was closed while it rebuilt", "got 0");
    hostkit::PumpMessages();
    CHECK_EQ(0, session.Preview("DL1ABC", "20M", "CW"), "_GetScore after the close");
    CHECK_EQ(false, window && IsWindowVisible(window), "window visible after the close");
    CHECK_EQ("0", PlacementText("Visible"), "\"Visible\" saved by the close");

    const HWND next = session.Run();
    CHECK(next != nullptr && next != window, "_Run after the close creates a new window", "same or no handle");
    CHECK_EQ(true, next && IsWindowVisible(next), "new window visible");
    CHECK_EQ(ExpectedReport({{"20M", 1, 3, 1}, {"40M", 1, 1, 0}}), hostkit::ReportText(next), "report of the new window");
}

// _Release in the second pass: scoring stops at once, the window is destroyed only after the rebuild, saved with Visible 1.
HOST_CASE(VcPassReleaseDeferred, "_Release called inside a pass destroys the window after the rebuild")
{
    TCaseSession session;
    AddStandardRows(session);
    const HWND window = session.Run();
    REQUIRE(window != nullptr, "_Run returns a window");
    bool released = false;
    std::int32_t scoreAfterRelease = 99;
    {
        TSecondPass pass(session, [&](HWND) {
            session.Plugin().Release();
            released = true;
            scoreAfterRelease = session.Preview("DL1ABC", "20M", "CW");
        });
        hostkit::ClickRecalc(window);
    }
    CHECK_EQ(true, released, "_Release called inside the second pass");
    CHECK_EQ(0, scoreAfterRelease, "_GetScore right after _Release inside the pass");
    CHECK_EQ(true, IsWindow(window) != FALSE, "window exists right after the press: not destroyed under the rebuild");
    CHECK_EQ(ExpectedReport({{"20M", 1, 3, 1}, {"40M", 1, 1, 0}}), hostkit::ReportText(window),
             "report right after the press: the rebuild ran to its end");
    hostkit::PumpMessages();
    CHECK_EQ(false, IsWindow(window) != FALSE, "window exists after a turn of the loop");
    CHECK_EQ("1", PlacementText("Visible"), "\"Visible\" saved by the destruction");
    CHECK_EQ(0, session.Preview("DL1ABC", "20M", "CW"), "_GetScore after the destruction");
}

// A close request or _Release that arrives while the rebuild's error box is up waits until the rebuild is over.
HOST_CASE(VcPassRequestsDuringErrorBox, "WM_CLOSE and _Release dispatched by the error box's own loop")
{
    TCaseSession session;
    hostkit::THostRecord missing = session.Record();
    missing.Table("NoSuchTable");

    session.Boxes.OnEachBox([](HWND) { PostMessageA(hostkit::FindThreadWindow("TfmMainForm"), WM_CLOSE, 0, 0); });
    const HWND closed = session.Plugin().Run(missing.Get());
    CHECK(closed != nullptr, "_Run returns a handle when its error box let a close through", "got 0");
    CHECK_EQ("Table 'NoSuchTable' does not exist.", session.Boxes.TakeTexts(), "the error box");
    hostkit::PumpMessages();
    CHECK_EQ(0, session.Preview("DL1ABC", "20M", "CW"), "_GetScore after the close");
    CHECK_EQ(false, closed && IsWindowVisible(closed), "window visible after the close");
    CHECK_EQ("0", PlacementText("Visible"), "\"Visible\" saved by the close");

    const HWND window = session.Run();
    REQUIRE(window != nullptr && window != closed, "_Run after the close creates a new window");
    session.Boxes.OnEachBox([&session](HWND) { session.Plugin().Release(); });
    hostkit::THostRecord contact = session.Contact("DL1ABC", "20M", "CW");
    contact.Table("NoSuchTable");
    session.Plugin().GetScore(contact.Get());  // the next rebuild reads the missing table
    hostkit::ClickRecalc(window);
    CHECK_EQ("Table 'NoSuchTable' does not exist.", session.Boxes.TakeTexts(), "the error box of the press");
    CHECK_EQ(true, IsWindow(window) != FALSE, "window right after the press");
    hostkit::PumpMessages();
    CHECK_EQ(false, IsWindow(window) != FALSE, "window after a turn of the loop");
    CHECK_EQ("1", PlacementText("Visible"), "\"Visible\" saved by the destruction");
    session.Boxes.OnEachBox(nullptr);
}

}  // namespace host
