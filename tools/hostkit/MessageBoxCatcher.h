// Catches every message box shown on this thread (a WH_CBT hook), keeps its
// caption and text and dismisses it, so that a host running unattended never
// waits for a user who is not there.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace hostkit {

struct TCaughtBox {
    std::string Caption;
    std::string Text;
};

class TMessageBoxCatcher {
public:
    // Throws std::runtime_error when the hook cannot be set. One catcher per
    // thread at a time.
    TMessageBoxCatcher();
    ~TMessageBoxCatcher();
    TMessageBoxCatcher(const TMessageBoxCatcher&) = delete;
    TMessageBoxCatcher& operator=(const TMessageBoxCatcher&) = delete;

    // The boxes caught since the last call, oldest first.
    std::vector<TCaughtBox> Take();
    // The texts only, joined by " | " ("" when none).
    std::string TakeTexts();
    std::size_t Pending() const { return Boxes_.size(); }
    // Every box caught since the catcher was set, taken or not.
    std::size_t CaughtCount() const { return CaughtCount_; }

    // Runs when a box comes up, before it is dismissed: the box's own modal
    // loop then dispatches whatever the action posts.
    void OnEachBox(std::function<void(HWND box)> action) { OnBox_ = std::move(action); }
    // Runs for every box caught, as it is caught (to print it at once).
    void OnCaught(std::function<void(const TCaughtBox&)> report) { OnCaught_ = std::move(report); }

private:
    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);

    HHOOK Hook_ = nullptr;
    std::vector<TCaughtBox> Boxes_;
    std::size_t CaughtCount_ = 0;
    HWND LastBox_ = nullptr;
    std::function<void(HWND)> OnBox_;
    std::function<void(const TCaughtBox&)> OnCaught_;
};

}  // namespace hostkit
