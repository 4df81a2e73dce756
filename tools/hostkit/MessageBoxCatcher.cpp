#include "hostkit/MessageBoxCatcher.h"

#include <stdexcept>

#include "hostkit/HostWindows.h"

namespace hostkit {

namespace {
TMessageBoxCatcher* ActiveCatcher = nullptr;

// The dialog class every message box belongs to.
constexpr char kDialogClass[] = "#32770";

BOOL CALLBACK CollectStaticText(HWND child, LPARAM lParam)
{
    auto* text = reinterpret_cast<std::string*>(lParam);
    if (lstrcmpiA(ClassNameOf(child).c_str(), "Static") == 0) {
        const std::string piece = WindowText(child);
        if (!piece.empty())
            *text += text->empty() ? piece : "\n" + piece;
    }
    return TRUE;
}
}  // namespace

TMessageBoxCatcher::TMessageBoxCatcher()
{
    if (ActiveCatcher)
        throw std::logic_error("a message box catcher is already active on this thread");
    Hook_ = SetWindowsHookExA(WH_CBT, &TMessageBoxCatcher::CbtProc, nullptr, GetCurrentThreadId());
    if (!Hook_)
        throw std::runtime_error("the message box hook cannot be set (error " + std::to_string(GetLastError()) + ")");
    ActiveCatcher = this;
}

TMessageBoxCatcher::~TMessageBoxCatcher()
{
    UnhookWindowsHookEx(Hook_);
    if (ActiveCatcher == this)
        ActiveCatcher = nullptr;
}

LRESULT CALLBACK TMessageBoxCatcher::CbtProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && ActiveCatcher) {
        HWND box = reinterpret_cast<HWND>(wParam);
        // A dialog may be activated more than once; it is still one box.
        if (box != ActiveCatcher->LastBox_ && ClassNameOf(box) == kDialogClass) {
            ActiveCatcher->LastBox_ = box;
            TCaughtBox caught;
            caught.Caption = WindowText(box);
            EnumChildWindows(box, &CollectStaticText, reinterpret_cast<LPARAM>(&caught.Text));
            ActiveCatcher->Boxes_.push_back(caught);
            ++ActiveCatcher->CaughtCount_;
            if (ActiveCatcher->OnCaught_)
                ActiveCatcher->OnCaught_(caught);
            if (ActiveCatcher->OnBox_)
                ActiveCatcher->OnBox_(box);
            // Posted, not sent: the box's own modal loop takes it and ends
            // the box the way a click on OK would.
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::vector<TCaughtBox> TMessageBoxCatcher::Take()
{
    std::vector<TCaughtBox> boxes;
    boxes.swap(Boxes_);
    return boxes;
}

std::string TMessageBoxCatcher::TakeTexts()
{
    std::string joined;
    for (const TCaughtBox& box : Take())
        joined += joined.empty() ? box.Text : " | " + box.Text;
    return joined;
}

}  // namespace hostkit
