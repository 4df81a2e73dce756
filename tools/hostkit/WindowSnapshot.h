// A picture of a window as it stands on the screen, saved as PNG: what an
// operator would see, frame and all.
#pragma once

#include <windows.h>

#include <string>

namespace hostkit {

// Moves the window, keeping its size, so that it lies wholly inside the
// primary screen's work area when it fits there; a window that already does
// stays put. Returns true when it was moved.
bool BringFullyOnScreen(HWND window);

// Brings the window to the top of the stacking order, repaints it and runs
// the message loop for `settleMilliseconds` (the display may show what was
// painted only some time later: Wine hands a window's pixels to the X server
// when its thread next waits); then copies the window's rectangle from the
// screen (BitBlt from the screen's device context: PrintWindow comes out
// blank under Wine) and writes it to `path` with the GDI+ PNG encoder. The
// parts of the window that lie off the screen are left out. Returns false
// when another program's window still covered part of it after a few tries
// (the picture is written all the same). Throws std::runtime_error saying
// what failed.
bool SaveWindowPng(HWND window, const std::string& path, DWORD settleMilliseconds = 500);

}  // namespace hostkit
