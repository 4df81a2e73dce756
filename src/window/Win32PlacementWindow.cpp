#include "window/Win32PlacementWindow.h"

#include <utility>

#include "window/Win32Handles.h"

TWin32PlacementWindow::TWin32PlacementWindow(TStateSink setWindowState, HWND window)
    : SetWindowState_(std::move(setWindowState)), Window_(window)
{
}

TPlacementRecord TWin32PlacementWindow::GetPlacement()
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    // On failure the record stays zero; SetPlacement with it fails the same
    // way, as both only fail for a handle that is no window.
    GetWindowPlacement(Window_, &placement);

    TPlacementRecord record;
    record.Flags = static_cast<int>(placement.flags);
    record.ShowCmd = static_cast<int>(placement.showCmd);
    record.MinPosition = {placement.ptMinPosition.x, placement.ptMinPosition.y};
    record.MaxPosition = {placement.ptMaxPosition.x, placement.ptMaxPosition.y};
    const RECT& normal = placement.rcNormalPosition;
    record.NormalPosition = {normal.left, normal.top, normal.right, normal.bottom};
    return record;
}

void TWin32PlacementWindow::SetPlacement(const TPlacementRecord& record)
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    placement.flags = static_cast<UINT>(record.Flags);
    placement.showCmd = static_cast<UINT>(record.ShowCmd);
    placement.ptMinPosition = {record.MinPosition.X, record.MinPosition.Y};
    placement.ptMaxPosition = {record.MaxPosition.X, record.MaxPosition.Y};
    const TPlacementRect& normal = record.NormalPosition;
    placement.rcNormalPosition = {normal.Left, normal.Top, normal.Right, normal.Bottom};
    SetWindowPlacement(Window_, &placement);
}

TWindowBounds TWin32PlacementWindow::Bounds()
{
    RECT rect{};
    GetWindowRect(Window_, &rect);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void TWin32PlacementWindow::SetWindowState(TWindowState state)
{
    if (SetWindowState_)
        SetWindowState_(state);
}

TScreenMetrics TWin32PlacementWindow::Screen()
{
    TScreenMetrics screen;
    screen.Width = GetSystemMetrics(SM_CXSCREEN);
    screen.Height = GetSystemMetrics(SM_CYSCREEN);
    const TScopedGetDc dc;
    if (dc.Get())
        screen.PixelsPerInch = GetDeviceCaps(dc.Get(), LOGPIXELSY);
    return screen;
}

TFrameThickness TWin32PlacementWindow::SizeableFrame()
{
    return {GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME)};
}
