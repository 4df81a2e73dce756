#include "HostWindows.h"

#include "Checks.h"

namespace host {

HWND ReportBox(HWND form)
{
    HWND box = hostkit::FindReportBox(form);
    REQUIRE(box != nullptr, "the statistics window has a report box (EDIT)");
    return box;
}

HWND RecalcButton(HWND form)
{
    HWND button = hostkit::FindRecalcButton(form);
    REQUIRE(button != nullptr, "the statistics window has a button");
    return button;
}

void TypeIntoReport(HWND form, const std::string& text)
{
    SendMessageA(ReportBox(form), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

RECT MakeRect(int left, int top, int right, int bottom) { return RECT{left, top, right, bottom}; }

// ---------------------------------------------------------------- actions

namespace {
constexpr char kHostClassName[] = "VcTestHostWindow";
constexpr UINT kRunAction = WM_APP + 1;
}  // namespace

THostActions::THostActions()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = &THostActions::WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kHostClassName;
    RegisterClassA(&windowClass);  // a second instance finds it registered
    Window_ = CreateWindowExA(0, kHostClassName, "host", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    REQUIRE(Window_ != nullptr, "host window created");
    SetWindowLongPtrA(Window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

THostActions::~THostActions()
{
    if (Window_) {
        SetWindowLongPtrA(Window_, GWLP_USERDATA, 0);
        DestroyWindow(Window_);
    }
}

void THostActions::Post(std::function<void()> action)
{
    Actions_.push_back(std::move(action));
    PostMessageA(Window_, kRunAction, 0, 0);
}

LRESULT CALLBACK THostActions::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<THostActions*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == kRunAction && self && !self->Actions_.empty()) {
        std::function<void()> action = std::move(self->Actions_.front());
        self->Actions_.pop_front();
        action();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// ------------------------------------------------------------ sent watch

namespace {
// One hook for all watches, which nest like scopes.
TSentMessageWatch* ActiveWatch = nullptr;
HHOOK SentMessageHook = nullptr;
}  // namespace

TSentMessageWatch::TSentMessageWatch(std::function<void(const CWPSTRUCT&)> onMessage)
    : OnMessage_(std::move(onMessage)), Previous_(ActiveWatch)
{
    if (!SentMessageHook)
        SentMessageHook = SetWindowsHookExA(WH_CALLWNDPROC, &TSentMessageWatch::HookProc, nullptr, GetCurrentThreadId());
    REQUIRE(SentMessageHook != nullptr, "sent-message hook installed");
    ActiveWatch = this;
}

TSentMessageWatch::~TSentMessageWatch()
{
    if (ActiveWatch == this)
        ActiveWatch = Previous_;
    if (!ActiveWatch && SentMessageHook) {
        UnhookWindowsHookEx(SentMessageHook);
        SentMessageHook = nullptr;
    }
}

LRESULT CALLBACK TSentMessageWatch::HookProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        for (TSentMessageWatch* watch = ActiveWatch; watch; watch = watch->Previous_)
            watch->OnMessage_(*reinterpret_cast<const CWPSTRUCT*>(lParam));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool IsRecalcButtonDisabling(const CWPSTRUCT& message)
{
    return message.message == WM_ENABLE && message.wParam == FALSE &&
           lstrcmpiA(hostkit::ClassNameOf(message.hwnd).c_str(), "Button") == 0 &&
           hostkit::ClassNameOf(GetParent(message.hwnd)) == "TVelmoraCupPanel";
}

}  // namespace host
