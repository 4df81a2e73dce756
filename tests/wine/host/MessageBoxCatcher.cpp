#include "MessageBoxCatcher.h"

#include "Checks.h"
#include "HostWindows.h"

namespace host {

namespace {
TMessageBoxCatcher* ActiveCatcher = nullptr;

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
    Hook_ = SetWindowsHookExA(WH_CBT, &TMessageBoxCatcher::CbtProc, nullptr, GetCurrentThreadId());
    REQUIRE(Hook_ != nullptr, "message box hook installed");
    ActiveCatcher = this;
}

TMessageBoxCatcher::~TMessageBoxCatcher()
{
    if (Hook_)
        UnhookWindowsHookEx(Hook_);
    if (ActiveCatcher == this)
        ActiveCatcher = nullptr;
}

LRESULT CALLBACK TMessageBoxCatcher::CbtProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && ActiveCatcher) {
        HWND box = reinterpret_cast<HWND>(wParam);
        // A dialog may be activated more than once; it is one box.
        if (box != ActiveCatcher->LastBox_ && ClassNameOf(box) == "#32770") {
            ActiveCatcher->LastBox_ = box;
            TCaughtBox caught;
            caught.Caption = WindowText(box);
            EnumChildWindows(box, &CollectStaticText, reinterpret_cast<LPARAM>(&caught.Text));
            ActiveCatcher->Boxes_.push_back(caught);
            if (ActiveCatcher->OnBox_)
                ActiveCatcher->OnBox_(box);
            // Posted: the box's own modal loop picks it up and ends the box.
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

}  // namespace host
