// What the placement store needs of its window and of the screen. On Windows
// an HWND and the system metrics stand behind it; tests use a scripted fake.
#pragma once

struct TPlacementPoint {
    int X = 0;
    int Y = 0;
};

struct TPlacementRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// The window's placement record as the platform keeps it.
struct TPlacementRecord {
    int Flags = 0;
    int ShowCmd = 0;
    TPlacementPoint MinPosition;
    TPlacementPoint MaxPosition;
    TPlacementRect NormalPosition;
};

// The window's outer rectangle on the screen right now.
struct TWindowBounds {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

// The primary screen.
struct TScreenMetrics {
    int Width = 0;
    int Height = 0;
    int PixelsPerInch = 96;
};

// The border of a sizeable window, per side.
struct TFrameThickness {
    int X = 0;
    int Y = 0;
};

// The state a window is to take when it shows itself. A window never comes
// up minimised from a stored placement.
enum class TWindowState { Normal, Maximized };

// The platform's show commands the store deals in.
constexpr int kShowCmdHide = 0;
constexpr int kShowCmdMaximized = 3;

class TPlacementWindow {
public:
    virtual ~TPlacementWindow() = default;

    virtual TPlacementRecord GetPlacement() = 0;
    virtual void SetPlacement(const TPlacementRecord& record) = 0;
    virtual TWindowBounds Bounds() = 0;
    // Remembered by the window for its coming show; does not show it.
    virtual void SetWindowState(TWindowState state) = 0;
    virtual TScreenMetrics Screen() = 0;
    virtual TFrameThickness SizeableFrame() = 0;
};
