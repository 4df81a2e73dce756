// What the plug-in and the host side do with COM beyond owning it: texts
// between the system code page and UTF-16, and the error a failed call left.
// The owners (TComPtr, TBstr, TVariant, TScopedComInit) live with the other
// handle owners.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "window/Win32Handles.h"

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
    (void)std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(hr));
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
