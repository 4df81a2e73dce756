// The window's placement in HKCU\Software\<host exe>\TfmMainForm: what a
// close writes, and how stored values shape the next window.
#include <cstdio>
#include <cstdlib>

#include "Checks.h"
#include "HostCase.h"
#include "HostRegistry.h"
#include "HostSession.h"
#include "window/Win32Handles.h"

namespace host {
namespace {

// `count` whole numbers (each may have blanks and a sign in front) joined by
// commas, and nothing after the last.
bool IsNumberList(const std::string& text, int count)
{
    const char* at = text.c_str();
    for (int index = 0; index < count; ++index) {
        if (index > 0 && *at++ != ',')
            return false;
        char* end = nullptr;
        (void)std::strtol(at, &end, 10);
        if (end == at)
            return false;
        at = end;
    }
    return *at == '\0';
}

bool IsFourNumbers(const std::string& text) { return IsNumberList(text, 4); }

bool IsNumber(const std::string& text) { return IsNumberList(text, 1); }

RECT NormalRect(HWND window)
{
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
    return placement.rcNormalPosition;
}

const char kDesignedNormPos[] = "975,138,1324,334";

}  // namespace

// A close writes the ten values, in order, all text, with the designed placement.
HOST_CASE(VcPlacementSavedOnClose, "the values a close writes, their order and their texts")
{
    TCaseSession session;
    CHECK(session.Writes().Attached(), "registry writes of the plug-in observable", "no RegSetValueEx import found");
    const HWND window = session.Run();
    REQUIRE(window != nullptr, "_Run returns a window");
    CHECK_EQ("", session.Writes().TakeNames(), "values written while the window was shown");

    SendMessageA(window, WM_CLOSE, 0, 0);
    const std::string suffix = ScreenSuffix();
    const std::vector<TRecordedWrite> writes = session.Writes().Take();
    std::string names;
    std::string types;
    for (const TRecordedWrite& write : writes) {
        names += (names.empty() ? "" : ", ") + write.Name;
        if (write.Type != REG_SZ)
            types += write.Name + " ";
    }
    CHECK_EQ("FormVersion, Flags, ShowCmd, PixelsPerInch, MinMaxPos" + suffix + ", MinMaxPos, NormPos" + suffix +
                 ", NormPos, Visible, CurrentBand",
             names, "values written by the close, in order");
    CHECK_EQ("", types, "values written with a type other than REG_SZ");

    CHECK_EQ("0", PlacementText("FormVersion"), "FormVersion");
    CHECK(IsNumber(PlacementText("Flags")), "Flags is a decimal number", PlacementText("Flags"));
    CHECK_EQ("1", PlacementText("ShowCmd"), "ShowCmd");
    CHECK_EQ("96", PlacementText("PixelsPerInch"), "PixelsPerInch");
    CHECK(IsFourNumbers(PlacementText("MinMaxPos" + suffix)), "MinMaxPos" + suffix + " holds four numbers",
          PlacementText("MinMaxPos" + suffix));
    CHECK_EQ(PlacementText("MinMaxPos" + suffix), PlacementText("MinMaxPos"), "MinMaxPos equals MinMaxPos" + suffix);
    CHECK_EQ(kDesignedNormPos, PlacementText("NormPos" + suffix), "NormPos" + suffix);
    CHECK_EQ(kDesignedNormPos, PlacementText("NormPos"), "NormPos");
    CHECK_EQ("0", PlacementText("Visible"), "Visible");
    CHECK_EQ("0", PlacementText("CurrentBand"), "CurrentBand");

    hostkit::PumpMessages();
    CHECK_EQ(false, IsWindow(window) != FALSE, "closed window after a turn of the loop");
    CHECK_EQ("", session.Writes().TakeNames(), "values written when the closed window was destroyed");
}

// The next window comes up where and as large as the last one closed.
HOST_CASE(VcPlacementReopensWhereClosed, "close, then _Run: the same place and size")
{
    TCaseSession session;
    const HWND first = session.Run();
    REQUIRE(first != nullptr, "_Run returns a window");
    SetWindowPos(first, nullptr, 100, 150, 400, 250, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(first, WM_CLOSE, 0, 0);
    hostkit::PumpMessages();
    const HWND second = session.Run();
    REQUIRE(second != nullptr, "_Run after the close returns a window");
    CHECK_EQ(hostkit::Describe(MakeRect(100, 150, 500, 400)), hostkit::Describe(hostkit::WindowRectOf(second)), "rectangle of the next window");
}

// Closed while minimised: ShowCmd 2 and the restored rectangle are saved, and the next window comes up normal there.
HOST_CASE(VcPlacementClosedWhileMinimised, "close a minimised window, then _Run")
{
    TCaseSession session;
    const HWND first = session.Run();
    REQUIRE(first != nullptr, "_Run returns a window");
    SendMessageA(first, WM_SYSCOMMAND, SC_CLOSE, 0);
    REQUIRE(IsIconic(first), "the close box minimised the window");
    SendMessageA(first, WM_CLOSE, 0, 0);
    CHECK_EQ("2", PlacementText("ShowCmd"), "ShowCmd saved for a minimised window");
    CHECK_EQ(kDesignedNormPos, PlacementText("NormPos"), "NormPos saved for a minimised window");
    hostkit::PumpMessages();
    const HWND second = session.Run();
    REQUIRE(second != nullptr, "_Run after the close returns a window");
    CHECK_EQ(false, IsIconic(second) != FALSE, "next window minimised");
    CHECK_EQ(hostkit::Describe(MakeRect(975, 138, 1324, 334)), hostkit::Describe(hostkit::WindowRectOf(second)), "next window rectangle");
}

// A stored NormPos (unsuffixed only) sets position and size.
HOST_CASE(VcPlacementStoredNormPos, "NormPos 100,120,500,420 stored before _Run")
{
    WritePlacementText("NormPos", "100,120,500,420");
    TCaseSession session;
    const HWND window = session.Run();
    REQUIRE(window != nullptr, "_Run returns a window");
    CHECK_EQ(hostkit::Describe(MakeRect(100, 120, 500, 420)), hostkit::Describe(hostkit::WindowRectOf(window)), "window rectangle");
    CHECK_EQ(false, IsIconic(window) || IsZoomed(window), "minimised or maximised");
}

// Two words of NormPos: left and top from them, right and bottom from the current window's left + width, top + height.
HOST_CASE(VcPlacementShortNormPos, "NormPos '700,20': right and bottom from the designed window")
{
    WritePlacementText("NormPos", "700,20");
    TCaseSession session;
    const HWND window = session.Run();
    REQUIRE(window != nullptr, "_Run returns a window");
    CHECK_EQ(hostkit::Describe(MakeRect(700, 20, 1324, 334)), hostkit::Describe(hostkit::WindowRectOf(window)), "window rectangle");
}

// ShowCmd 3 brings the window up maximised, and the close saves 3 again.
HOST_CASE(VcPlacementShowCmdMaximised, "ShowCmd 3 stored before _Run")
{
    WritePlacementText("ShowCmd", "3");
    TCaseSession session;
    const HWND window = session.Run();
    REQUIRE(window != nullptr, "_Run returns a window");
    CHECK_EQ(true, IsZoomed(window) != FALSE, "maximised");
    CHECK_EQ(true, IsWindowVisible(window) != FALSE, "visible");
    CHECK_EQ(kEmptyReport, session.Report(), "report of the maximised window");
    SendMessageA(window, WM_CLOSE, 0, 0);
    CHECK_EQ("3", PlacementText("ShowCmd"), "ShowCmd saved by the close");
}

// ShowCmd 2 (minimised) is not restored: the window comes up normal.
HOST_CASE(VcPlacementShowCmdMinimised, "ShowCmd 2 stored before _Run")
{
    WritePlacementText("ShowCmd", "2");
    TCaseSession session;
    const HWND window = session.Run();
    REQUIRE(window != nullptr, "_Run returns a window");
    CHECK_EQ(false, IsIconic(window) != FALSE, "minimised");
    CHECK_EQ(false, IsZoomed(window) != FALSE, "maximised");
    CHECK_EQ(true, IsWindowVisible(window) != FALSE, "visible");
}

// CurrentBand is carried through unchanged.
HOST_CASE(VcPlacementCurrentBandKept, "CurrentBand 'abc' is written back as it was")
{
    WritePlacementText("CurrentBand", "abc");
    TCaseSession session;
    const HWND window = session.Run();
    REQUIRE(window != nullptr, "_Run returns a window");
    SendMessageA(window, WM_CLOSE, 0, 0);
    CHECK_EQ("abc", PlacementText("CurrentBand"), "CurrentBand after the close");
}

// Another PixelsPerInch voids the stored positions, but ShowCmd and CurrentBand still count.
HOST_CASE(VcPlacementOtherPixelsPerInch, "PixelsPerInch 120 stored before _Run")
{
    WritePlacementText("PixelsPerInch", "120");
    WritePlacementText("NormPos", "100,120,500,420");
    WritePlacementText("ShowCmd", "3");
    WritePlacementText("CurrentBand", "xyz");
    TCaseSession session;
    const HWND window = session.Run();
    REQUIRE(window != nullptr, "_Run returns a window");
    CHECK_EQ(hostkit::Describe(MakeRect(975, 138, 1324, 334)), hostkit::Describe(NormalRect(window)), "normal rectangle");
    CHECK_EQ(true, IsZoomed(window) != FALSE, "maximised from ShowCmd 3");
    SendMessageA(window, WM_CLOSE, 0, 0);
    CHECK_EQ("xyz", PlacementText("CurrentBand"), "CurrentBand after the close");
    CHECK_EQ("96", PlacementText("PixelsPerInch"), "PixelsPerInch after the close");
}

// FormVersion -1: nothing else is read, and the next save writes version 0.
HOST_CASE(VcPlacementNegativeFormVersion, "FormVersion -1 stored before _Run")
{
    WritePlacementText("FormVersion", "-1");
    WritePlacementText("NormPos", "100,120,500,420");
    WritePlacementText("CurrentBand", "xyz");
    TCaseSession session;
    const HWND window = session.Run();
    REQUIRE(window != nullptr, "_Run returns a window");
    CHECK_EQ(hostkit::Describe(MakeRect(975, 138, 1324, 334)), hostkit::Describe(hostkit::WindowRectOf(window)), "window rectangle");
    SendMessageA(window, WM_CLOSE, 0, 0);
    CHECK_EQ("0", PlacementText("FormVersion"), "FormVersion after the close");
    CHECK_EQ("0", PlacementText("CurrentBand"), "CurrentBand after the close: not read");
    CHECK_EQ(kDesignedNormPos, PlacementText("NormPos"), "NormPos after the close");
}

// A REG_DWORD FormVersion: a box naming it, the window still shows, and it never saves. The text ends in a
// quote, which sorts before '.', so no full stop is added.
HOST_CASE(VcPlacementWrongValueType, "FormVersion stored as REG_DWORD")
{
    WritePlacementDword("FormVersion", 0);
    TCaseSession session;
    const HWND window = session.Run();
    REQUIRE(window != nullptr, "_Run returns a window");
    CHECK_EQ("Invalid data type for 'FormVersion'", session.Boxes.TakeTexts(), "message box while showing");
    CHECK_EQ(true, IsWindowVisible(window) != FALSE, "window visible after the failed load");
    CHECK_EQ(hostkit::Describe(MakeRect(975, 138, 1324, 334)), hostkit::Describe(hostkit::WindowRectOf(window)), "window rectangle");
    CHECK_EQ(kEmptyReport, session.Report(), "report after the failed load");
    SendMessageA(window, WM_CLOSE, 0, 0);
    hostkit::PumpMessages();
    CHECK_EQ("", session.Boxes.TakeTexts(), "message boxes at the close");
    CHECK_EQ("<no value>", PlacementText("Visible"), "Visible after the close: an incomplete load never saves");
    CHECK_EQ(static_cast<DWORD>(REG_DWORD), ReadPlacementValue("FormVersion").Type, "type of FormVersion after the close");
}

// A value of the wrong type at ShowCmd stops the load before it completes: the position is in, but nothing is ever saved.
HOST_CASE(VcPlacementShowCmdWrongType, "ShowCmd stored as REG_DWORD")
{
    WritePlacementText("NormPos", "100,120,500,420");
    WritePlacementDword("ShowCmd", 1);
    TCaseSession session;
    const HWND window = session.Run();
    REQUIRE(window != nullptr, "_Run returns a window");
    CHECK_EQ("Invalid data type for 'ShowCmd'", session.Boxes.TakeTexts(), "message box while showing");
    CHECK_EQ(hostkit::Describe(MakeRect(100, 120, 500, 420)), hostkit::Describe(hostkit::WindowRectOf(window)), "window rectangle");
    SendMessageA(window, WM_CLOSE, 0, 0);
    hostkit::PumpMessages();
    CHECK_EQ("", session.Writes().TakeNames(), "values written at the close and destruction");
}

// A value of the wrong type at CurrentBand comes after the load completed: later saves happen, with CurrentBand "0".
HOST_CASE(VcPlacementCurrentBandWrongType, "CurrentBand stored as REG_DWORD")
{
    WritePlacementDword("CurrentBand", 5);
    TCaseSession session;
    const HWND window = session.Run();
    REQUIRE(window != nullptr, "_Run returns a window");
    CHECK_EQ("Invalid data type for 'CurrentBand'", session.Boxes.TakeTexts(), "message box while showing");
    SendMessageA(window, WM_CLOSE, 0, 0);
    CHECK_EQ("0", PlacementText("Visible"), "Visible saved by the close");
    CHECK_EQ("0", PlacementText("CurrentBand"), "CurrentBand saved by the close");
}

// NormPos whose right edge is not right of its left edge is not applied.
HOST_CASE(VcPlacementInvertedNormPos, "NormPos 500,120,100,420 stored before _Run")
{
    WritePlacementText("NormPos", "500,120,100,420");
    TCaseSession session;
    const HWND window = session.Run();
    REQUIRE(window != nullptr, "_Run returns a window");
    CHECK_EQ(hostkit::Describe(MakeRect(975, 138, 1324, 334)), hostkit::Describe(hostkit::WindowRectOf(window)), "window rectangle");
}

// Numbers in the registry: spaces and commas separate words; '$', 'x' and '0x' mark hexadecimal; a leading '+' and
// spaces are allowed; a number beyond 32 bits is no number at all.
HOST_CASE(VcPlacementNumberForms, "hexadecimal, signed and out-of-range numbers in stored values")
{
    WritePlacementText("NormPos", " $64, x78 ,,0x1F4 0X1A4");
    WritePlacementText("ShowCmd", "  +3");
    WritePlacementText("PixelsPerInch", "4294967416");
    TCaseSession session;
    const HWND window = session.Run();
    REQUIRE(window != nullptr, "_Run returns a window");
    CHECK_EQ(hostkit::Describe(MakeRect(100, 120, 500, 420)), hostkit::Describe(NormalRect(window)),
             "normal rectangle from hexadecimal words (PixelsPerInch out of range reads as the screen's)");
    CHECK_EQ(true, IsZoomed(window) != FALSE, "maximised from ShowCmd '  +3'");
}

// The registry key is named after the host executable without its last extension: My.Logger.exe gives Software\My.Logger.
HOST_CASE(VcPlacementDottedExeName, "a host executable with a dot in its name", .ExeName = "VcPlacement.Dotted.exe")
{
    CHECK_EQ("VcPlacement.Dotted", hostkit::HostExeName(), "name the host runs under");
    TCaseSession session;
    const HWND window = session.Run();
    REQUIRE(window != nullptr, "_Run returns a window");
    SendMessageA(window, WM_CLOSE, 0, 0);
    CHECK_EQ("0", PlacementText("Visible"), "Visible under Software\\VcPlacement.Dotted\\TfmMainForm");
    TScopedRegKey key;
    const bool cut =
        RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\VcPlacement", 0, KEY_READ, key.Receive()) == ERROR_SUCCESS;
    CHECK_EQ(false, cut, "a key Software\\VcPlacement (name cut at the first dot) exists");
}

}  // namespace host
