// The owners release what they hold exactly once: at the end of their scope,
// on Reset, or never when the handle was handed on.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>

#include "window/Win32Handles.h"

namespace {

bool IsOpenHandle(HANDLE handle)
{
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != FALSE;
}

const char kScratchKey[] = "Software\\VelmoraHostKitTests";

}  // namespace

TEST(KernelHandleOwner, ClosesTheEventAtTheEndOfItsScope)
{
    HANDLE raw = nullptr;
    {
        const TScopedKernelHandle event = MakeEvent();
        ASSERT_TRUE(event.Valid()) << "event created";
        raw = event.Get();
        EXPECT_TRUE(IsOpenHandle(raw)) << "open while owned";
    }
    EXPECT_FALSE(IsOpenHandle(raw)) << "closed after the owner went";
}

TEST(KernelHandleOwner, MovingHandsTheHandleOverWithoutClosingIt)
{
    TScopedKernelHandle first = MakeEvent();
    const HANDLE raw = first.Get();
    TScopedKernelHandle second(std::move(first));
    // The state a move leaves behind is what is checked here.
    EXPECT_FALSE(first.Valid()) << "the moved-from owner holds nothing";  // NOLINT(bugprone-use-after-move,clang-analyzer-cplusplus.Move)
    EXPECT_EQ(raw, second.Get());
    EXPECT_TRUE(IsOpenHandle(raw)) << "still open after the move";

    TScopedKernelHandle third = MakeEvent();
    const HANDLE replaced = third.Get();
    third = std::move(second);
    EXPECT_FALSE(IsOpenHandle(replaced)) << "assignment closes what the target held";
    EXPECT_TRUE(IsOpenHandle(raw)) << "and keeps what it was given";
}

TEST(KernelHandleOwner, DetachedHandleOutlivesItsOwner)
{
    HANDLE raw = nullptr;
    {
        TScopedKernelHandle event = MakeEvent();
        raw = event.Detach();
    }
    EXPECT_TRUE(IsOpenHandle(raw)) << "a detached handle is the caller's";
    CloseHandle(raw);
}

TEST(FileOwner, FailedOpenHoldsNothing)
{
    const TScopedFile missing(CreateFileA("Z:\\no\\such\\folder\\file.txt", GENERIC_READ, 0, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_FALSE(missing.Valid()) << "INVALID_HANDLE_VALUE, not null, is what CreateFile fails with";
}

TEST(RegistryKeyOwner, HoldsTheKeyAReceiveCallOpened)
{
    TScopedRegKey key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kScratchKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                             KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr));
    const DWORD number = 7;
    EXPECT_EQ(ERROR_SUCCESS,
              RegSetValueExA(key.Get(), "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number));
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kScratchKey, 0, KEY_READ, key.Receive()))
        << "a second Receive on the same owner";
    DWORD values = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                                              nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(1u, values) << "the key opened second is the one held";
    key.Reset();
    EXPECT_FALSE(key.Valid());
    RegDeleteKeyA(HKEY_CURRENT_USER, kScratchKey);
}

TEST(GdiOwners, ObjectsAndDeviceContextsAreGivenBack)
{
    HBITMAP bitmapHandle = nullptr;
    HDC memoryHandle = nullptr;
    {
        const TScopedGetDc screen;
        ASSERT_NE(nullptr, screen.Get()) << "the screen's device context";
        const TScopedMemoryDc memory(CreateCompatibleDC(screen.Get()));
        const TScopedBitmap bitmap(CreateCompatibleBitmap(screen.Get(), 4, 4));
        memoryHandle = memory.Get();
        bitmapHandle = bitmap.Get();
        ASSERT_NE(0u, GetObjectType(bitmapHandle));
        {
            const TScopedSelect select(memory.Get(), bitmap.Get());
            EXPECT_EQ(bitmapHandle, GetCurrentObject(memory.Get(), OBJ_BITMAP)) << "selected for the scope";
        }
        EXPECT_NE(bitmapHandle, GetCurrentObject(memory.Get(), OBJ_BITMAP)) << "deselected after it";
    }
    EXPECT_EQ(0u, GetObjectType(bitmapHandle)) << "bitmap deleted";
    EXPECT_EQ(0u, GetObjectType(memoryHandle)) << "memory device context deleted";
}

TEST(ComOwners, BstrAndVariantFreeTheirText)
{
    TVariant text = TVariant::Text(L"VC12");
    EXPECT_EQ(VT_BSTR, text.Get().vt);
    EXPECT_EQ(std::wstring_view(L"VC12"), BstrView(text.Get().bstrVal));
    TBstr moved(L"DL1ABC");
    const TBstr target(std::move(moved));
    // The moved-from text is what is checked here.
    EXPECT_EQ(nullptr, moved.Get());  // NOLINT(bugprone-use-after-move,clang-analyzer-cplusplus.Move)
    EXPECT_EQ(std::wstring_view(L"DL1ABC"), target.View());
    EXPECT_EQ(std::wstring_view(), BstrView(nullptr)) << "a null BSTR is the empty text";
}
