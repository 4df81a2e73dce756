// The statistics window's life as the host sees it: its look, the close box,
// close requests, _Release, unloading and the end of a session.
#include "Checks.h"
#include "HostCase.h"
#include "HostRegistry.h"
#include "HostSession.h"

namespace host {
namespace {

bool HasStyle(HWND window, int index, LONG bits)
{
    return (GetWindowLongA(window, index) & bits) == bits;
}

bool Visible(HWND window) { return IsWindowVisible(window) != FALSE; }

// The button's right edge measured from the right of the form's client area.
LONG ButtonDistanceFromRight(HWND form, LONG* buttonLeft)
{
    RECT button = hostkit::WindowRectOf(RecalcButton(form));
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&button), 2);
    RECT client;
    GetClientRect(form, &client);
    *buttonLeft = button.left;
    return client.right - button.right;
}

const char kDesignedNormPos[] = "975,138,1324,334";

}  // namespace

// Class, caption, styles, owner, first-show placement, the report ready before showing, the report box and the button.
HOST_CASE(VcWindowLook, "the window as it first comes up")
{
    TCaseSession session;
    AddRows(session.Table, {{"DL1ABC", "20M", "CW", std::string("VC12")}});
    std::string reportWhenShown = "<never shown>";
    bool seenShowing = false;
    TSentMessageWatch watch([&](const CWPSTRUCT& message) {
        const bool showing = (message.message == WM_SHOWWINDOW && message.wParam) ||
                             (message.message == WM_WINDOWPOSCHANGING &&
                              (reinterpret_cast<const WINDOWPOS*>(message.lParam)->flags & SWP_SHOWWINDOW));
        if (showing && !seenShowing && hostkit::ClassNameOf(message.hwnd) == "TfmMainForm") {
            seenShowing = true;
            HWND box = hostkit::FindDescendant(message.hwnd, "Edit");
            reportWhenShown = box ? hostkit::WindowText(box) : "<no report box>";
        }
    });
    const HWND window = session.Run();
    REQUIRE(window != nullptr, "_Run returns a window");
    const std::string report = ExpectedReport({{"20M", 1, 3, 1}});

    CHECK_EQ("TfmMainForm", hostkit::ClassNameOf(window), "window class");
    CHECK_EQ("Main in Velmora Cup", hostkit::WindowText(window), "caption");
    CHECK_EQ(true, HasStyle(window, GWL_EXSTYLE, WS_EX_TOPMOST), "WS_EX_TOPMOST");
    CHECK_EQ(true, HasStyle(window, GWL_EXSTYLE, WS_EX_APPWINDOW), "WS_EX_APPWINDOW");
    CHECK_EQ(static_cast<HWND>(nullptr), GetWindow(window, GW_OWNER), "owner window");
    CHECK_EQ(true, HasStyle(window, GWL_STYLE, WS_THICKFRAME), "WS_THICKFRAME");
    CHECK_EQ(true, HasStyle(window, GWL_STYLE, WS_SYSMENU), "WS_SYSMENU");
    CHECK_EQ(true, HasStyle(window, GWL_STYLE, WS_MINIMIZEBOX), "WS_MINIMIZEBOX");
    CHECK_EQ(false, HasStyle(window, GWL_STYLE, WS_MAXIMIZEBOX), "WS_MAXIMIZEBOX");
    CHECK_EQ(hostkit::Describe(MakeRect(975, 138, 1324, 334)), hostkit::Describe(hostkit::WindowRectOf(window)), "first position and size");
    CHECK_EQ(true, Visible(window), "visible after _Run");
    CHECK_EQ(false, IsIconic(window) != FALSE, "minimised after _Run");
    CHECK_EQ(false, IsZoomed(window) != FALSE, "maximised after _Run");
    CHECK_EQ(report, reportWhenShown, "report at the moment the window is shown");
    CHECK_EQ(report, session.Report(), "report after _Run");

    const HWND box = ReportBox(window);
    CHECK_EQ(true, HasStyle(box, GWL_STYLE, ES_MULTILINE), "report box ES_MULTILINE");
    CHECK_EQ(true, HasStyle(box, GWL_STYLE, ES_AUTOHSCROLL), "report box ES_AUTOHSCROLL (no word wrap)");
    CHECK_EQ(false, HasStyle(box, GWL_STYLE, WS_HSCROLL), "report box WS_HSCROLL");
    CHECK_EQ(false, HasStyle(box, GWL_STYLE, WS_VSCROLL), "report box WS_VSCROLL");
    CHECK_EQ(false, HasStyle(box, GWL_STYLE, ES_READONLY), "report box ES_READONLY");
    LOGFONTA font = {};
    const auto handle = reinterpret_cast<HFONT>(SendMessageA(box, WM_GETFONT, 0, 0));
    CHECK(handle != nullptr && GetObjectA(handle, sizeof font, &font) == sizeof font, "report box font readable",
          "no font set");
    CHECK_EQ("Courier New", std::string(font.lfFaceName), "report box font face");
    CHECK_EQ(204, font.lfCharSet, "report box character set");
    CHECK_EQ(-11, font.lfHeight, "report box character height");

    const HWND button = RecalcButton(window);
    CHECK_EQ("Recalc Statistic", hostkit::WindowText(button), "button text");
    CHECK_EQ(true, IsWindowEnabled(button) != FALSE, "button enabled after the first rebuild");
    LOGFONTA buttonFont = {};
    const auto buttonHandle = reinterpret_cast<HFONT>(SendMessageA(button, WM_GETFONT, 0, 0));
    if (buttonHandle)
        GetObjectA(buttonHandle, sizeof buttonFont, &buttonFont);
    CHECK_EQ("MS Sans Serif", std::string(buttonFont.lfFaceName), "button font face");
    CHECK_EQ(-11, buttonFont.lfHeight, "button character height");

    // The panel holding the button is docked to the bottom, 23 high; the
    // report box fills the rest; tab order: the panel's button, then the box.
    RECT client;
    GetClientRect(window, &client);
    const HWND panel = GetParent(button);
    CHECK_EQ("TVelmoraCupPanel", hostkit::ClassNameOf(panel), "class of the button's parent");
    RECT panelRect = hostkit::WindowRectOf(panel);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&panelRect), 2);
    CHECK_EQ(hostkit::Describe(MakeRect(0, client.bottom - 23, client.right, client.bottom)), hostkit::Describe(panelRect),
             "panel rectangle in the client area");
    RECT boxRect = hostkit::WindowRectOf(box);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&boxRect), 2);
    CHECK_EQ(hostkit::Describe(MakeRect(0, 0, client.right, client.bottom - 23)), hostkit::Describe(boxRect),
             "report box rectangle in the client area");
    RECT buttonRect = hostkit::WindowRectOf(button);
    CHECK_EQ(106, buttonRect.right - buttonRect.left, "button width");
    CHECK_EQ(22, buttonRect.bottom - buttonRect.top, "button height");
    CHECK_EQ(panel, GetWindow(window, GW_CHILD), "first child (first in tab order)");
    CHECK_EQ(box, GetWindow(panel, GW_HWNDNEXT), "child after the panel");

    hostkit::THostRecord other = session.Contact("OK1AA", "40M", "CW", "599");
    other.Caption("Other");
    CHECK_EQ(1, session.Plugin().AddQSO(other.Get()), "_AddQSO with another caption prefix");
    CHECK_EQ(window, session.Plugin().Run(other.Get()), "_Run with another caption prefix");
    CHECK_EQ("Main in Velmora Cup", hostkit::WindowText(window), "caption after records with another prefix");
}

// Widening the window moves the button with the right edge.
HOST_CASE(VcWindowResizeKeepsButtonAnchored, "the button keeps its distance from the right edge")
{
    TCaseSession session;
    const HWND window = session.Run();
    REQUIRE(window != nullptr, "_Run returns a window");
    LONG leftBefore = 0;
    const LONG distanceBefore = ButtonDistanceFromRight(window, &leftBefore);
    SetWindowPos(window, nullptr, 0, 0, 349 + 200, 196 + 40, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    LONG leftAfter = 0;
    const LONG distanceAfter = ButtonDistanceFromRight(window, &leftAfter);
    CHECK_EQ(distanceBefore, distanceAfter, "button distance from the right edge after widening by 200");
    CHECK_EQ(leftBefore + 200, leftAfter, "button left edge after widening by 200");
    CHECK_EQ(true, hostkit::RecalcEnabled(window), "button enabled after resizing");
}

// The close box (SC_CLOSE) minimises; the state lives on and a later _Run neither restores nor rebuilds.
HOST_CASE(VcWindowCloseBoxMinimises, "WM_SYSCOMMAND SC_CLOSE minimises instead of closing")
{
    TCaseSession session;
    AddRows(session.Table, {{"DL1ABC", "20M", "CW", std::string("VC12")}});
    const HWND window = session.Run();
    REQUIRE(window != nullptr, "_Run returns a window");
    SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    CHECK_EQ(true, IsIconic(window) != FALSE, "minimised after SC_CLOSE");
    CHECK_EQ(true, Visible(window), "visible after SC_CLOSE");
    CHECK_EQ(1, session.Add("OK1AA", "40M", "CW", "599"), "_AddQSO after SC_CLOSE");
    const std::string report = ExpectedReport({{"20M", 1, 3, 1}, {"40M", 1, 1, 0}});
    CHECK_EQ(report, session.Report(), "report after SC_CLOSE and _AddQSO");
    CHECK_EQ(-1, session.Preview("DL1ABC", "20M", "CW"), "_GetScore of the table row after SC_CLOSE");
    CHECK_EQ("<no value>", PlacementText("Visible"), "\"Visible\" after SC_CLOSE: nothing saved");

    AddRows(session.Table, {{"G4XYZ", "15M", "CW", std::string("VC5")}});
    CHECK_EQ(window, session.Run(), "_Run while minimised");
    CHECK_EQ(true, IsIconic(window) != FALSE, "still minimised after _Run");
    CHECK_EQ(report, session.Report(), "report after _Run while minimised: no rebuild");
}

// System commands other than exactly SC_CLOSE get the default handling: minimise, restore, and SC_CLOSE+1 closes.
HOST_CASE(VcWindowOtherSysCommands, "WM_SYSCOMMAND other than SC_CLOSE takes the default path")
{
    TCaseSession session;
    const HWND window = session.Run();
    REQUIRE(window != nullptr, "_Run returns a window");
    SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    CHECK_EQ(true, IsIconic(window) != FALSE, "minimised after SC_MINIMIZE");
    CHECK_EQ(1, session.Add("DL1ABC", "20M", "CW", "599"), "_AddQSO while minimised");
    SendMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    CHECK_EQ(false, IsIconic(window) != FALSE, "minimised after SC_RESTORE");

    // The default handling ignores the low four bits, so this is a close request.
    SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE + 1, 0);
    CHECK_EQ(false, IsIconic(window) != FALSE, "minimised after SC_CLOSE+1");
    CHECK_EQ(false, Visible(window), "visible after SC_CLOSE+1 (a close request by default)");
    CHECK_EQ(0, session.Preview("OK1AA", "20M", "CW"), "_GetScore after SC_CLOSE+1");
    CHECK_EQ("0", PlacementText("Visible"), "\"Visible\" saved after SC_CLOSE+1");
}

// WM_CLOSE releases the state, saves and hides; SC_CLOSE then is ignored; the next _Run builds a new window.
HOST_CASE(VcWindowCloseRequest, "WM_CLOSE from the host, then _Run again", .MemberFile = "DL1ABC=123\r\n")
{
    TCaseSession session;
    AddRows(session.Table, {{"DL1ABC", "20M", "CW", std::string("VC12")}});
    const HWND first = session.Run();
    REQUIRE(first != nullptr, "_Run returns a window");
    CHECK_EQ("123", session.Grab("DL1ABC"), "_GrabNumber before the close");

    session.Writes().Take();
    SendMessageA(first, WM_CLOSE, 0, 0);
    CHECK(!session.Writes().TakeNames().empty(), "WM_CLOSE saves the placement", "nothing written");
    CHECK_EQ(false, Visible(first), "visible after WM_CLOSE");
    CHECK_EQ(true, IsWindow(first) != FALSE, "window exists until the loop turns");
    CHECK_EQ(0, session.Preview("OK1AA", "40M", "CW"), "_GetScore after WM_CLOSE");
    CHECK_EQ(0, session.Add("OK1AA", "40M", "CW"), "_AddQSO after WM_CLOSE");
    CHECK_EQ("", session.Grab("DL1ABC"), "_GrabNumber after WM_CLOSE");
    CHECK_EQ("0", PlacementText("Visible"), "\"Visible\" saved by WM_CLOSE");
    CHECK_EQ(kDesignedNormPos, PlacementText("NormPos"), "\"NormPos\" saved by WM_CLOSE");

    SendMessageA(first, WM_CLOSE, 0, 0);
    session.Plugin().Release();
    SendMessageA(first, WM_SYSCOMMAND, SC_CLOSE, 0);
    CHECK_EQ(false, Visible(first), "closed window visible after SC_CLOSE");
    CHECK_EQ(false, IsIconic(first) != FALSE, "closed window minimised after SC_CLOSE");
    CHECK_EQ(0, session.Preview("OK1AA", "40M", "CW"), "_GetScore after SC_CLOSE to the closed window");

    AddRows(session.Table, {{"OK1AA", "40M", "CW", std::string("599")}});
    const HWND second = session.Run();
    CHECK(second != nullptr && second != first, "_Run after WM_CLOSE creates a new window", "same or no handle");
    CHECK_EQ(true, Visible(second), "new window visible");
    CHECK_EQ(ExpectedReport({{"20M", 1, 3, 1}, {"40M", 1, 1, 0}}), session.Report(), "report of the new window");
    CHECK_EQ("123", session.Grab("DL1ABC"), "_GrabNumber in the new window");
    hostkit::PumpMessages();
    CHECK_EQ("", session.Writes().TakeNames(),
             "values written after the close (a second WM_CLOSE, _Release, SC_CLOSE, its destruction)");
    CHECK_EQ(false, IsWindow(first) != FALSE, "closed window after a turn of the loop");
    CHECK_EQ(true, IsWindow(second) != FALSE, "new window after a turn of the loop");
    CHECK_EQ(1, session.Add("N1AA", "10M", "CW"), "_AddQSO in the new window");
}

// _Release: scoring stops at once, the window lives until the loop turns, its destruction saves Visible 1.
HOST_CASE(VcWindowReleaseDeferred, "_Release destroys the window at the next turn of the loop")
{
    TCaseSession session;
    AddRows(session.Table, {{"DL1ABC", "20M", "CW", std::string("VC12")}});
    const HWND window = session.Run();
    REQUIRE(window != nullptr, "_Run returns a window");
    session.Plugin().Release();
    CHECK_EQ(true, IsWindow(window) != FALSE, "window exists right after _Release");
    CHECK_EQ(true, Visible(window), "window visible right after _Release");
    CHECK_EQ(0, session.Preview("DL1ABC", "20M", "CW"), "_GetScore right after _Release");
    CHECK_EQ(0, session.Add("OK1AA", "40M", "CW"), "_AddQSO right after _Release");
    CHECK_EQ("<no value>", PlacementText("Visible"), "\"Visible\" before the destruction");

    hostkit::PumpMessages();
    CHECK_EQ(false, IsWindow(window) != FALSE, "window after a turn of the loop");
    CHECK_EQ("1", PlacementText("Visible"), "\"Visible\" saved by the destruction");
    CHECK_EQ(kDesignedNormPos, PlacementText("NormPos"), "\"NormPos\" saved by the destruction");

    session.Plugin().Release();
    hostkit::PumpMessages();
    const HWND next = session.Run();
    CHECK(next != nullptr && next != window, "_Run after _Release creates a new window", "same or no handle");
    CHECK_EQ(ExpectedReport({{"20M", 1, 3, 1}}), session.Report(), "report of the new window");
}

// _Release with no window, or twice, does nothing harmful.
HOST_CASE(VcWindowReleaseWithoutWindow, "_Release before _Run and twice in a row")
{
    TCaseSession session;
    session.Plugin().Release();
    session.Plugin().Release();
    hostkit::PumpMessages();
    CHECK_EQ(0, session.Preview("DL1ABC", "20M", "CW"), "_GetScore after _Release without a window");
    const HWND window = session.Run();
    REQUIRE(window != nullptr, "_Run after _Release without a window");
    session.Plugin().Release();
    session.Plugin().Release();
    hostkit::PumpMessages();
    CHECK_EQ(false, IsWindow(window) != FALSE, "window after _Release twice and a turn of the loop");
    const HWND next = session.Run();
    CHECK_EQ(true, next && Visible(next), "_Run after _Release twice shows a window");
}

// FreeLibrary with the window alive, or with _Release not yet carried out, destroys it and saves Visible 1.
HOST_CASE(VcWindowUnloadDestroys, "unloading the DLL takes its window down and saves the placement")
{
    TCaseSession session;
    const HWND window = session.Run();
    REQUIRE(window != nullptr, "_Run returns a window");
    session.Unload();
    CHECK_EQ(false, IsWindow(window) != FALSE, "window after FreeLibrary");
    CHECK_EQ("1", PlacementText("Visible"), "\"Visible\" saved while unloading");

    DeletePlacementValue("Visible");
    session.Reload();
    const HWND second = session.Run();
    REQUIRE(second != nullptr, "_Run after loading the DLL again returns a window");
    CHECK_EQ(kEmptyReport, session.Report(), "report after loading the DLL again");
    session.Plugin().Release();
    session.Unload();
    CHECK_EQ(false, IsWindow(second) != FALSE, "released window after FreeLibrary before the loop turned");
    CHECK_EQ("1", PlacementText("Visible"), "\"Visible\" saved while unloading a released window");
    hostkit::PumpMessages();

    // A closed window awaiting destruction has saved already: unloading saves nothing more.
    session.Reload();
    const HWND third = session.Run();
    REQUIRE(third != nullptr, "_Run after loading the DLL a third time returns a window");
    SendMessageA(third, WM_CLOSE, 0, 0);
    CHECK_EQ("0", PlacementText("Visible"), "\"Visible\" saved by the close");
    session.Unload();
    CHECK_EQ(false, IsWindow(third) != FALSE, "closed window after FreeLibrary");
    CHECK_EQ("0", PlacementText("Visible"), "\"Visible\" after unloading a closed window");
    hostkit::PumpMessages();
}

// _Run while a released window still awaits destruction makes a new one, which outlives the old one's end.
HOST_CASE(VcWindowRunWhileReleasedAwaitsDestruction, "_Release, _Run at once, then the loop turns")
{
    TCaseSession session;
    AddRows(session.Table, {{"DL1ABC", "20M", "CW", std::string("VC12")}});
    const HWND first = session.Run();
    REQUIRE(first != nullptr, "_Run returns a window");
    session.Plugin().Release();
    const HWND second = session.Run();
    CHECK(second != nullptr && second != first, "_Run before the released window is destroyed makes a new one",
          "same or no handle");
    CHECK_EQ(ExpectedReport({{"20M", 1, 3, 1}}), hostkit::ReportText(second), "report of the new window");
    CHECK_EQ(1, session.Add("OK1AA", "40M", "CW"), "_AddQSO with two windows alive");
    hostkit::PumpMessages();
    CHECK_EQ(false, IsWindow(first) != FALSE, "released window after a turn of the loop");
    CHECK_EQ(true, IsWindow(second) != FALSE, "new window after a turn of the loop");
    CHECK_EQ(-1, session.Add("OK1AA", "40M", "CW"), "_AddQSO after the old window's destruction: state kept");
    CHECK_EQ(1, session.Add("G4XYZ", "15M", "CW"), "_AddQSO of another contact after the old window's destruction");
}

// WM_QUERYENDSESSION saves the placement but keeps the window and its state; a later close saves again.
HOST_CASE(VcWindowQueryEndSession, "WM_QUERYENDSESSION saves and leaves scoring usable")
{
    TCaseSession session;
    const HWND window = session.Run();
    REQUIRE(window != nullptr, "_Run returns a window");
    const LRESULT answer = SendMessageA(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    CHECK(answer != 0, "WM_QUERYENDSESSION lets the session end", "answered 0");
    CHECK_EQ("0", PlacementText("Visible"), "\"Visible\" saved at WM_QUERYENDSESSION");
    CHECK_EQ(kDesignedNormPos, PlacementText("NormPos"), "\"NormPos\" saved at WM_QUERYENDSESSION");
    CHECK_EQ(true, Visible(window), "window visible after WM_QUERYENDSESSION");
    CHECK_EQ(3, session.Add("DL1ABC", "20M", "CW", "VC12"), "_AddQSO after WM_QUERYENDSESSION");
    CHECK_EQ(ExpectedReport({{"20M", 1, 3, 1}}), session.Report(), "report after WM_QUERYENDSESSION and _AddQSO");
    CHECK_EQ(-1, session.Preview("DL1ABC", "20M", "CW"), "_GetScore of the added contact");

    SendMessageA(window, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
    SetWindowPos(window, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(window, WM_CLOSE, 0, 0);
    CHECK_EQ("300,200,649,396", PlacementText("NormPos"), "\"NormPos\" saved by the later close");
}

}  // namespace host
