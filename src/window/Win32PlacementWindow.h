// The placement store's window on Windows: an HWND's placement record, its
// rectangle, and the primary screen's metrics.
#pragma once

#include <windows.h>

#include <functional>

#include "window/PlacementWindow.h"

class TWin32PlacementWindow : public TPlacementWindow {
public:
    // The store picks the state while the window is still hidden; the window
    // applies it when it shows itself, so the choice goes back to it here.
    using TStateSink = std::function<void(TWindowState)>;

    explicit TWin32PlacementWindow(TStateSink setWindowState, HWND window = nullptr);

    // The native window, once it exists; needed before the store loads.
    void Attach(HWND window) { Window_ = window; }
    HWND Handle() const { return Window_; }

    TPlacementRecord GetPlacement() override;
    void SetPlacement(const TPlacementRecord& record) override;
    TWindowBounds Bounds() override;
    void SetWindowState(TWindowState state) override;
    TScreenMetrics Screen() override;
    TFrameThickness SizeableFrame() override;

private:
    TStateSink SetWindowState_;
    HWND Window_;
};
