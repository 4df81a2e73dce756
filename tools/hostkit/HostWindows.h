// What a host does with windows on its user-interface thread: runs its
// message loop, finds the statistics window's controls, reads the report and
// presses "Recalc Statistic".
#pragma once

#include <windows.h>

#include <string>

namespace hostkit {

// One turn of the host's message loop: everything waiting is dispatched.
// Returns false when a WM_QUIT came (it is not dispatched).
bool PumpMessages();
// Keeps the loop turning for `milliseconds`, so that painting and posted
// requests (a deferred destruction, a window manager's answer) get done.
void PumpMessagesFor(DWORD milliseconds);

std::string ClassNameOf(HWND window);
// WM_GETTEXT: the text exactly as the control holds it.
std::string WindowText(HWND window);
// The first window below `parent`, at any depth, of that class (letter case
// ignored), or null.
HWND FindDescendant(HWND parent, const char* className);

// The first top-level window of this thread of that class (letter case
// ignored), or null: unlike FindWindow, blind to other programs' windows.
HWND FindThreadWindow(const char* className);

// The statistics window's report box (its EDIT control) and its one button,
// or null when the window has none.
HWND FindReportBox(HWND form);
HWND FindRecalcButton(HWND form);
// Throws std::runtime_error when the window has no report box.
std::string ReportText(HWND form);
// A press of "Recalc Statistic" as a click makes it (BM_CLICK); returns when
// the press has been handled, rebuild included. Throws std::runtime_error
// when the window has no button.
void ClickRecalc(HWND form);
bool RecalcEnabled(HWND form);

RECT WindowRectOf(HWND window);
// "(975,138)-(1324,334) 349x196"
std::string Describe(const RECT& rect);

}  // namespace hostkit
