// The plug-in's controls as a case requires them, and the host's own hidden
// window, through which a case runs code from inside the plug-in's message
// passes. The message loop, window texts, the report and the button's press
// are hostkit's.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>

#include "hostkit/HostWindows.h"

namespace host {

// The statistics window's controls; a window without them ends the case.
HWND ReportBox(HWND form);
HWND RecalcButton(HWND form);
// "typed by the user": WM_SETTEXT straight into the report box.
void TypeIntoReport(HWND form, const std::string& text);

RECT MakeRect(int left, int top, int right, int bottom);

// A hidden host window: actions posted to it run when a message loop (the
// host's or the plug-in's pass) dispatches them, in posting order.
class THostActions {
public:
    THostActions();
    ~THostActions();
    THostActions(const THostActions&) = delete;
    THostActions& operator=(const THostActions&) = delete;

    void Post(std::function<void()> action);
    std::size_t Pending() const { return Actions_.size(); }
    HWND Handle() const { return Window_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND Window_ = nullptr;
    std::deque<std::function<void()>> Actions_;
};

// Sees every message sent (not posted) to a window of this thread before the
// window does (WH_CALLWNDPROC).
class TSentMessageWatch {
public:
    explicit TSentMessageWatch(std::function<void(const CWPSTRUCT&)> onMessage);
    ~TSentMessageWatch();
    TSentMessageWatch(const TSentMessageWatch&) = delete;
    TSentMessageWatch& operator=(const TSentMessageWatch&) = delete;

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);

    std::function<void(const CWPSTRUCT&)> OnMessage_;
    TSentMessageWatch* Previous_ = nullptr;
};

// True when `message` is the plug-in disabling its "Recalc Statistic" button:
// the moment between a rebuild's two message passes.
bool IsRecalcButtonDisabling(const CWPSTRUCT& message);

}  // namespace host
