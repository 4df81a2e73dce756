// Owners for the few Win32 handles the window and the member file use; each
// releases its handle when it goes out of scope.
#pragma once

#include <windows.h>

#include <utility>

template <typename Handle, typename Traits>
class TScopedHandle {
public:
    TScopedHandle() = default;
    explicit TScopedHandle(Handle handle) : Handle_(handle) {}
    ~TScopedHandle() { Reset(); }
    TScopedHandle(const TScopedHandle&) = delete;
    TScopedHandle& operator=(const TScopedHandle&) = delete;
    TScopedHandle(TScopedHandle&& other) noexcept : Handle_(std::exchange(other.Handle_, Traits::Invalid())) {}
    TScopedHandle& operator=(TScopedHandle&& other) noexcept
    {
        if (this != &other) {
            Reset();
            Handle_ = std::exchange(other.Handle_, Traits::Invalid());
        }
        return *this;
    }

    Handle Get() const { return Handle_; }
    bool Valid() const { return Handle_ != Traits::Invalid(); }
    void Reset(Handle handle = Traits::Invalid())
    {
        if (Valid())
            Traits::Close(Handle_);
        Handle_ = handle;
    }

private:
    Handle Handle_ = Traits::Invalid();
};

struct TFileHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};
using TScopedFile = TScopedHandle<HANDLE, TFileHandleTraits>;

template <typename GdiObject>
struct TGdiObjectTraits {
    static GdiObject Invalid() { return nullptr; }
    static void Close(GdiObject object) { DeleteObject(object); }
};
using TScopedFont = TScopedHandle<HFONT, TGdiObjectTraits<HFONT>>;
using TScopedBrush = TScopedHandle<HBRUSH, TGdiObjectTraits<HBRUSH>>;
using TScopedPen = TScopedHandle<HPEN, TGdiObjectTraits<HPEN>>;

// Selects a GDI object into a device context for one scope.
class TScopedSelect {
public:
    TScopedSelect(HDC dc, HGDIOBJ object) : Dc_(dc), Previous_(SelectObject(dc, object)) {}
    ~TScopedSelect() { SelectObject(Dc_, Previous_); }
    TScopedSelect(const TScopedSelect&) = delete;
    TScopedSelect& operator=(const TScopedSelect&) = delete;

private:
    HDC Dc_;
    HGDIOBJ Previous_;
};
