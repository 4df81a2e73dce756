// The store's Windows seams against the real registry and a real window.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "FakePlacement.h"
#include "window/FormStorage.h"
#include "window/Win32PlacementRegistry.h"
#include "window/Win32PlacementWindow.h"

namespace {

const std::string kApplicationKey = "Software\\placement_win32_tests";
const std::string kSectionPath = kApplicationKey + "\\TfmMainForm";

void DeleteTestKeys()
{
    RegDeleteKeyA(HKEY_CURRENT_USER, kSectionPath.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, kApplicationKey.c_str());
}

// A read as one comparable text.
std::string Read(TPlacementKey& key, const char* name)
{
    const TRegistryTextRead read = key.ReadText(name);
    switch (read.Status) {
    case TRegistryReadStatus::Text: return "text <" + read.Text + ">";
    case TRegistryReadStatus::Missing: return "missing";
    case TRegistryReadStatus::WrongType: return "wrong type";
    case TRegistryReadStatus::Failed: break;
    }
    return "failed";
}

class Win32Registry : public testing::Test {
protected:
    void SetUp() override { DeleteTestKeys(); }
    void TearDown() override { DeleteTestKeys(); }

    TWin32PlacementRegistry Registry;
};

TEST_F(Win32Registry, ApplicationKeyIsNamedAfterTheExecutable)
{
    EXPECT_EQ(ApplicationKeyOfThisProcess(), kApplicationKey);
    EXPECT_EQ(Registry.ApplicationKey(), kApplicationKey);
}

TEST_F(Win32Registry, TextValuesAndTheirFailures)
{
    auto application = Registry.OpenApplicationKey();
    ASSERT_TRUE(application);
    EXPECT_FALSE(application->OpenSubKeyForReading("TfmMainForm")) << "section before creation";
    auto section = application->CreateSubKey("TfmMainForm");
    ASSERT_TRUE(section);

    EXPECT_TRUE(section->WriteText("NormPos", "10,20,300,400"));
    EXPECT_TRUE(section->WriteText("CurrentBand", ""));
    EXPECT_EQ(Read(*section, "NormPos"), "text <10,20,300,400>");
    EXPECT_EQ(Read(*section, "CurrentBand"), "text <>");
    EXPECT_EQ(Read(*section, "Flags"), "missing");

    TScopedRegKey key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kSectionPath.c_str(), 0, KEY_WRITE, key.Receive()), ERROR_SUCCESS);
    HKEY raw = key.Get();
    const DWORD number = 3;
    RegSetValueExA(raw, "ShowCmd", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    const char expandable[] = "%TEMP%";
    RegSetValueExA(raw, "Flags", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(expandable), sizeof expandable);
    key.Reset();
    EXPECT_EQ(Read(*section, "ShowCmd"), "wrong type");
    EXPECT_EQ(Read(*section, "Flags"), "text <%TEMP%>") << "expandable text is read as it stands";

    // Through the store, a number kept as a DWORD is the user's error.
    section.reset();
    application.reset();
    TFakeWindow window;
    TFormStorage storage(Registry, window, "TfmMainForm");
    EXPECT_THROW(storage.LoadPlacement(), TPlacementError);
    EXPECT_FALSE(storage.LoadCompleted());
}

TEST_F(Win32Registry, StoreRoundTripsThroughTheRegistry)
{
    TFakeWindow window;
    TFormStorage storage(Registry, window, "TfmMainForm");
    storage.LoadPlacement();
    window.Record = {0, 3, {-1, -1}, {-4, -4}, {100, 50, 600, 450}};
    storage.StorePlacement();

    TFakeWindow next;
    TFormStorage(Registry, next, "TfmMainForm").LoadPlacement();
    ASSERT_EQ(next.Placed.size(), 2u) << "the stored placement, then the fix-up";
    EXPECT_EQ(next.Placed[0].NormalPosition.Right, 600);
    EXPECT_EQ(next.State, TWindowState::Maximized);
}

TEST(Win32Window, PlacementAppliesWhileTheWindowStaysHidden)
{
    HWND handle = CreateWindowExA(0, "STATIC", "placement", WS_OVERLAPPEDWINDOW, 975, 138, 349, 196,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(handle);
    TWindowState given = TWindowState::Normal;
    TWin32PlacementWindow window([&given](TWindowState state) { given = state; }, handle);

    TPlacementRecord record = window.GetPlacement();
    record.ShowCmd = kShowCmdHide;
    record.NormalPosition = {100, 50, 600, 450};
    window.SetPlacement(record);

    EXPECT_FALSE(IsWindowVisible(handle)) << "a placement with SW_HIDE must not show the window";
    const TWindowBounds bounds = window.Bounds();
    EXPECT_EQ(bounds.Left, 100);
    EXPECT_EQ(bounds.Width, 500);
    EXPECT_EQ(bounds.Height, 400);

    window.SetWindowState(TWindowState::Maximized);
    EXPECT_EQ(given, TWindowState::Maximized) << "the state goes back to the window";
    DestroyWindow(handle);
}

}  // namespace
