#include "hostkit/WindowSnapshot.h"

#include <gdiplus.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "hostkit/HostWindows.h"
#include "recalc/ComSupport.h"
#include "window/Win32Handles.h"

namespace hostkit {

namespace {

class TScopedGdiplus {
public:
    TScopedGdiplus()
    {
        Gdiplus::GdiplusStartupInput input;
        Status_ = Gdiplus::GdiplusStartup(&Token_, &input, nullptr);
    }
    ~TScopedGdiplus()
    {
        if (Status_ == Gdiplus::Ok)
            Gdiplus::GdiplusShutdown(Token_);
    }
    TScopedGdiplus(const TScopedGdiplus&) = delete;
    TScopedGdiplus& operator=(const TScopedGdiplus&) = delete;
    bool Started() const { return Status_ == Gdiplus::Ok; }

private:
    ULONG_PTR Token_ = 0;
    Gdiplus::Status Status_;
};

bool PngEncoder(CLSID& encoder)
{
    UINT count = 0;
    UINT bytes = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0)
        return false;
    std::vector<unsigned char> buffer(bytes);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, bytes, codecs) != Gdiplus::Ok)
        return false;
    for (UINT index = 0; index < count; ++index) {
        if (codecs[index].MimeType && std::wstring_view(codecs[index].MimeType) == L"image/png") {
            encoder = codecs[index].Clsid;
            return true;
        }
    }
    return false;
}

constexpr int kRaiseAttempts = 5;
constexpr DWORD kRetryMilliseconds = 300;

void RaiseToTop(HWND window)
{
    const bool topmost = (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// Whether the window is what the screen shows at a grid of points across
// it (the points off the screen aside).
bool IsUncovered(HWND window)
{
    const RECT rect = WindowRectOf(window);
    constexpr int kSteps = 6;
    for (int row = 0; row <= kSteps; ++row) {
        for (int column = 0; column <= kSteps; ++column) {
            const POINT point = {rect.left + 1 + (rect.right - rect.left - 3) * column / kSteps,
                                 rect.top + 1 + (rect.bottom - rect.top - 3) * row / kSteps};
            if (!MonitorFromPoint(point, MONITOR_DEFAULTTONULL))
                continue;
            const HWND shown = WindowFromPoint(point);
            if (!shown || GetAncestor(shown, GA_ROOT) != window)
                return false;
        }
    }
    return true;
}

}  // namespace

bool BringFullyOnScreen(HWND window)
{
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const RECT rect = WindowRectOf(window);
    const LONG width = rect.right - rect.left;
    const LONG height = rect.bottom - rect.top;
    if (width > work.right - work.left || height > work.bottom - work.top)
        return false;
    const LONG left = std::clamp(rect.left, work.left, work.right - width);
    const LONG top = std::clamp(rect.top, work.top, work.bottom - height);
    if (left == rect.left && top == rect.top)
        return false;
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

bool SaveWindowPng(HWND window, const std::string& path, DWORD settleMilliseconds)
{
    if (!IsWindow(window))
        throw std::runtime_error("no window to take a picture of");
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GdiFlush();
    bool uncovered = false;
    for (int attempt = 0; attempt < kRaiseAttempts && !uncovered; ++attempt) {
        RaiseToTop(window);
        PumpMessagesFor(attempt == 0 ? settleMilliseconds : kRetryMilliseconds);
        uncovered = IsUncovered(window);
    }

    RECT rect = WindowRectOf(window);
    const RECT screen = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                         GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                         GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    if (!IntersectRect(&rect, &rect, &screen))
        throw std::runtime_error("the window lies wholly off the screen");
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;

    TScopedGetDc screenDc;
    if (!screenDc.Get())
        throw std::runtime_error("no device context for the screen");
    TScopedMemoryDc memoryDc(CreateCompatibleDC(screenDc.Get()));
    TScopedBitmap bitmap(CreateCompatibleBitmap(screenDc.Get(), width, height));
    if (!memoryDc.Valid() || !bitmap.Valid())
        throw std::runtime_error("no bitmap of " + std::to_string(width) + "x" + std::to_string(height));
    {
        TScopedSelect select(memoryDc.Get(), bitmap.Get());
        if (!BitBlt(memoryDc.Get(), 0, 0, width, height, screenDc.Get(), rect.left, rect.top, SRCCOPY | CAPTUREBLT))
            throw std::runtime_error("copying the window from the screen failed (error " +
                                     std::to_string(GetLastError()) + ")");
    }

    TScopedGdiplus gdiplus;
    if (!gdiplus.Started())
        throw std::runtime_error("GDI+ cannot be started");
    CLSID encoder;
    if (!PngEncoder(encoder))
        throw std::runtime_error("GDI+ offers no PNG encoder");
    Gdiplus::Bitmap picture(bitmap.Get(), nullptr);
    const std::wstring widePath = SystemCodePageToWide(path);
    const Gdiplus::Status saved = picture.Save(widePath.c_str(), &encoder, nullptr);
    if (saved != Gdiplus::Ok)
        throw std::runtime_error("the PNG cannot be written to " + path + " (GDI+ status " +
                                 std::to_string(static_cast<int>(saved)) + ")");
    return uncovered;
}

}  // namespace hostkit
