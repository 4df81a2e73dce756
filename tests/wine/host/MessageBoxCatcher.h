// Catches every message box the plug-in shows on this thread, records its
// text and dismisses it, so no case ever waits for a user.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace host {

struct TCaughtBox {
    std::string Caption;
    std::string Text;
};

class TMessageBoxCatcher {
public:
    TMessageBoxCatcher();
    ~TMessageBoxCatcher();
    TMessageBoxCatcher(const TMessageBoxCatcher&) = delete;
    TMessageBoxCatcher& operator=(const TMessageBoxCatcher&) = delete;

    // The boxes caught since the last call, oldest first.
    std::vector<TCaughtBox> Take();
    // The texts only, joined by " | ", for one-line checks ("" when none).
    std::string TakeTexts();
    // Runs `action` when a box comes up, before it is dismissed: the box's
    // own modal loop then dispatches whatever the action posts.
    void OnEachBox(std::function<void(HWND box)> action) { OnBox_ = std::move(action); }

private:
    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);

    HHOOK Hook_ = nullptr;
    std::vector<TCaughtBox> Boxes_;
    HWND LastBox_ = nullptr;
    std::function<void(HWND)> OnBox_;
};

}  // namespace host
