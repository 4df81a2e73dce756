// The owners of every Win32 and COM resource the plug-in and the host side
// hold: each releases what it holds when it goes out of scope, so no early
// return or exception can leak a handle, a key, a GDI object or a reference.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string_view>
#include <utility>

// ------------------------------------------------------------ plain handles

// A handle released by Traits::Close, where Traits::Invalid() is "none".
template <typename Handle, typename Traits>
class TScopedHandle {
public:
    TScopedHandle() = default;
    explicit TScopedHandle(Handle handle) : Handle_(handle) {}
    ~TScopedHandle() { Reset(); }
    TScopedHandle(const TScopedHandle&) = delete;
    TScopedHandle& operator=(const TScopedHandle&) = delete;
    TScopedHandle(TScopedHandle&& other) noexcept : Handle_(other.Detach()) {}
    TScopedHandle& operator=(TScopedHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Detach());
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
    // For the functions that hand out a new handle through a pointer.
    Handle* Receive()
    {
        Reset();
        return &Handle_;
    }
    Handle Detach() { return std::exchange(Handle_, Traits::Invalid()); }

private:
    Handle Handle_ = Traits::Invalid();
};

// Events, processes, threads: null when there is none.
struct TKernelHandleTraits {
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};
using TScopedKernelHandle = TScopedHandle<HANDLE, TKernelHandleTraits>;

// CreateFile answers INVALID_HANDLE_VALUE, not null, when it fails.
struct TFileHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};
using TScopedFile = TScopedHandle<HANDLE, TFileHandleTraits>;

struct TFindHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) { FindClose(handle); }
};
using TScopedFind = TScopedHandle<HANDLE, TFindHandleTraits>;

struct TRegKeyTraits {
    static HKEY Invalid() { return nullptr; }
    static void Close(HKEY key) { RegCloseKey(key); }
};
using TScopedRegKey = TScopedHandle<HKEY, TRegKeyTraits>;

// An auto-reset event, unsignalled.
inline TScopedKernelHandle MakeEvent() { return TScopedKernelHandle(CreateEventA(nullptr, FALSE, FALSE, nullptr)); }

// ------------------------------------------------------------------- GDI

template <typename GdiObject>
struct TGdiObjectTraits {
    static GdiObject Invalid() { return nullptr; }
    static void Close(GdiObject object) { DeleteObject(object); }
};
using TScopedFont = TScopedHandle<HFONT, TGdiObjectTraits<HFONT>>;
using TScopedBrush = TScopedHandle<HBRUSH, TGdiObjectTraits<HBRUSH>>;
using TScopedPen = TScopedHandle<HPEN, TGdiObjectTraits<HPEN>>;
using TScopedBitmap = TScopedHandle<HBITMAP, TGdiObjectTraits<HBITMAP>>;

// A device context of our own (CreateCompatibleDC), deleted, not released.
struct TMemoryDcTraits {
    static HDC Invalid() { return nullptr; }
    static void Close(HDC dc) { DeleteDC(dc); }
};
using TScopedMemoryDc = TScopedHandle<HDC, TMemoryDcTraits>;

// A window's device context from GetDC (the screen's for a null window),
// given back with ReleaseDC to the same window.
class TScopedGetDc {
public:
    explicit TScopedGetDc(HWND window = nullptr) : Window_(window), Dc_(GetDC(window)) {}
    ~TScopedGetDc()
    {
        if (Dc_)
            ReleaseDC(Window_, Dc_);
    }
    TScopedGetDc(const TScopedGetDc&) = delete;
    TScopedGetDc& operator=(const TScopedGetDc&) = delete;
    HDC Get() const { return Dc_; }

private:
    HWND Window_;
    HDC Dc_;
};

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

// ------------------------------------------------------------------- COM

// A BSTR carries its length and may hold NUL characters; a null BSTR is the
// empty text.
inline std::wstring_view BstrView(BSTR text)
{
    return text ? std::wstring_view(text, SysStringLen(text)) : std::wstring_view();
}

template <typename Interface>
class TComPtr {
public:
    TComPtr() = default;
    // Takes over a reference the caller already owns (a fresh object, an out
    // parameter filled elsewhere).
    explicit TComPtr(Interface* owned) : Ptr_(owned) {}
    TComPtr(const TComPtr& other) : Ptr_(other.Ptr_)
    {
        if (Ptr_)
            Ptr_->AddRef();
    }
    TComPtr(TComPtr&& other) noexcept : Ptr_(std::exchange(other.Ptr_, nullptr)) {}
    TComPtr& operator=(TComPtr other) noexcept
    {
        std::swap(Ptr_, other.Ptr_);
        return *this;
    }
    ~TComPtr() { Reset(); }

    // Takes a reference of its own on a pointer that somebody else owns.
    static TComPtr Share(Interface* borrowed)
    {
        if (borrowed)
            borrowed->AddRef();
        return TComPtr(borrowed);
    }

    Interface* Get() const { return Ptr_; }
    Interface* operator->() const { return Ptr_; }
    explicit operator bool() const { return Ptr_ != nullptr; }

    void Reset()
    {
        if (Interface* previous = std::exchange(Ptr_, nullptr))
            previous->Release();
    }
    // For an out parameter: drops the current reference, then lets the
    // callee store the new one.
    Interface** Put()
    {
        Reset();
        return &Ptr_;
    }
    void** PutVoid() { return reinterpret_cast<void**>(Put()); }
    Interface* Detach() { return std::exchange(Ptr_, nullptr); }

private:
    Interface* Ptr_ = nullptr;
};

class TBstr {
public:
    TBstr() = default;
    explicit TBstr(std::wstring_view text) : Bstr_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    TBstr(const TBstr&) = delete;
    TBstr& operator=(const TBstr&) = delete;
    TBstr(TBstr&& other) noexcept : Bstr_(std::exchange(other.Bstr_, nullptr)) {}
    TBstr& operator=(TBstr&& other) noexcept
    {
        std::swap(Bstr_, other.Bstr_);
        return *this;
    }
    ~TBstr() { SysFreeString(Bstr_); }

    BSTR Get() const { return Bstr_; }
    BSTR* Put()
    {
        SysFreeString(std::exchange(Bstr_, nullptr));
        return &Bstr_;
    }
    BSTR Detach() { return std::exchange(Bstr_, nullptr); }
    std::wstring_view View() const { return BstrView(Bstr_); }

private:
    BSTR Bstr_ = nullptr;
};

class TVariant {
public:
    TVariant() { VariantInit(&Value_); }
    TVariant(const TVariant&) = delete;
    TVariant& operator=(const TVariant&) = delete;
    TVariant(TVariant&& other) noexcept : Value_(other.Value_) { VariantInit(&other.Value_); }
    TVariant& operator=(TVariant&& other) noexcept
    {
        std::swap(Value_, other.Value_);
        return *this;
    }
    ~TVariant() { VariantClear(&Value_); }

    static TVariant Text(std::wstring_view text)
    {
        TVariant result;
        result.Value_.vt = VT_BSTR;
        result.Value_.bstrVal = TBstr(text).Detach();
        return result;
    }
    static TVariant Integer(LONG value)
    {
        TVariant result;
        result.Value_.vt = VT_I4;
        result.Value_.lVal = value;
        return result;
    }
    // The variant keeps a reference of its own on the object.
    static TVariant Dispatch(IDispatch* object)
    {
        TVariant result;
        result.Value_.vt = VT_DISPATCH;
        result.Value_.pdispVal = object;
        if (object)
            object->AddRef();
        return result;
    }

    // ADO takes its [in] VARIANTs by value: pass Get() and keep ownership here.
    const VARIANT& Get() const { return Value_; }
    VARIANT& Get() { return Value_; }
    VARIANT* Put()
    {
        VariantClear(&Value_);
        return &Value_;
    }
    // Hands the value to an out parameter; the receiver clears it.
    VARIANT Detach()
    {
        const VARIANT value = Value_;
        VariantInit(&Value_);
        return value;
    }

private:
    VARIANT Value_;
};

// COM on the calling thread for as long as the object lives. S_OK and S_FALSE
// both count one initialisation that must be balanced; RPC_E_CHANGED_MODE
// means the thread already runs COM in the other apartment model, which is
// just as usable and must not be uninitialised by us.
class TScopedComInit {
public:
    TScopedComInit() : Result_(CoInitialize(nullptr)) {}
    TScopedComInit(const TScopedComInit&) = delete;
    TScopedComInit& operator=(const TScopedComInit&) = delete;
    ~TScopedComInit()
    {
        if (SUCCEEDED(Result_))
            CoUninitialize();
    }

    bool Usable() const { return SUCCEEDED(Result_) || Result_ == RPC_E_CHANGED_MODE; }
    HRESULT Result() const { return Result_; }

private:
    HRESULT Result_;
};
