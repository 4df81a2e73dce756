// Owners for the COM resources the plug-in touches: an interface pointer, a
// BSTR, a VARIANT and the thread's COM initialisation. Each releases what it
// holds when it goes out of scope, so no error path can leak a reference.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <utility>

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

// Texts inside the plug-in are single-byte in the system code page; COM
// speaks UTF-16.
inline std::string WideToSystemCodePage(std::wstring_view wide)
{
    if (wide.empty())
        return {};
    const int wideLength = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, text.data(), length, nullptr, nullptr);
    return text;
}

inline std::wstring SystemCodePageToWide(std::string_view text)
{
    if (text.empty())
        return {};
    const int textLength = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), textLength, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), textLength, wide.data(), length);
    return wide;
}

// "0x80040E37": how an HRESULT is quoted to a user who has nothing better.
inline std::string HResultText(HRESULT hr)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

// The description that `object` left with the thread's error object after a
// call through its interface `iid` failed, or "" when it leaves none. Follows
// the error-object protocol: the text counts only when the object declares,
// through ISupportErrorInfo, that it reports errors for that interface, since
// otherwise the thread's error object may be left over from an unrelated call.
// The thread's error object is taken away in every case.
inline std::string ComErrorDescription(IUnknown* object, REFIID iid)
{
    TComPtr<IErrorInfo> errorInfo;
    if (GetErrorInfo(0, errorInfo.Put()) != S_OK || !errorInfo || !object)
        return {};
    TComPtr<ISupportErrorInfo> support;
    if (FAILED(object->QueryInterface(IID_ISupportErrorInfo, support.PutVoid())) || !support ||
        support->InterfaceSupportsErrorInfo(iid) != S_OK)
        return {};
    TBstr description;
    if (FAILED(errorInfo->GetDescription(description.Put())))
        return {};
    return WideToSystemCodePage(description.View());
}
