#include "hostkit/HostWindows.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

namespace hostkit {

bool PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Left for the outer loop that owns the thread's life.
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}

void PumpMessagesFor(DWORD milliseconds)
{
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (;;) {
        if (!PumpMessages())
            return;
        const ULONGLONG now = GetTickCount64();
        if (now >= end)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    }
}

std::string ClassNameOf(HWND window)
{
    char name[256] = {};
    const int length = GetClassNameA(window, name, sizeof name);
    return std::string(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::string WindowText(HWND window)
{
    const auto length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    std::vector<char> text(static_cast<std::size_t>(length) + 1, '\0');
    const auto copied =
        SendMessageA(window, WM_GETTEXT, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(text.data()));
    return std::string(text.data(), static_cast<std::size_t>(copied));
}

namespace {
struct TSearch {
    const char* ClassName;
    HWND Found;
};

BOOL CALLBACK MatchClass(HWND child, LPARAM lParam)
{
    auto* search = reinterpret_cast<TSearch*>(lParam);
    if (lstrcmpiA(ClassNameOf(child).c_str(), search->ClassName) == 0) {
        search->Found = child;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

HWND FindDescendant(HWND parent, const char* className)
{
    TSearch search{className, nullptr};
    EnumChildWindows(parent, &MatchClass, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

HWND FindThreadWindow(const char* className)
{
    TSearch search{className, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), &MatchClass, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

HWND FindReportBox(HWND form) { return FindDescendant(form, "Edit"); }
HWND FindRecalcButton(HWND form) { return FindDescendant(form, "Button"); }

std::string ReportText(HWND form)
{
    HWND box = FindReportBox(form);
    if (!box)
        throw std::runtime_error("the statistics window has no report box");
    return WindowText(box);
}

void ClickRecalc(HWND form)
{
    HWND button = FindRecalcButton(form);
    if (!button)
        throw std::runtime_error("the statistics window has no \"Recalc Statistic\" button");
    SendMessageA(button, BM_CLICK, 0, 0);
}

bool RecalcEnabled(HWND form)
{
    HWND button = FindRecalcButton(form);
    return button && IsWindowEnabled(button) != FALSE;
}

RECT WindowRectOf(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

std::string Describe(const RECT& rect)
{
    char text[96];
    (void)std::snprintf(text, sizeof text, "(%ld,%ld)-(%ld,%ld) %ldx%ld", rect.left, rect.top, rect.right, rect.bottom,
                  rect.right - rect.left, rect.bottom - rect.top);
    return text;
}

}  // namespace hostkit
