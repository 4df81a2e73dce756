#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "FakePlacement.h"
#include "window/FormStorage.h"

namespace {

using TWrites = std::vector<std::pair<std::string, std::string>>;

std::string Rect(const TPlacementRecord& record)
{
    const TPlacementRect& r = record.NormalPosition;
    return std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) +
           "," + std::to_string(r.Bottom);
}

class FormStorageTest : public testing::Test {
protected:
    TFakeRegistry Registry;
    TFakeWindow Window;
    TFormStorage Storage{Registry, Window, "TfmMainForm"};

    // Loads into a new window over the same registry, as the next _Run does,
    // and keeps only the placements applied from stored data: the last one
    // is the fix-up every load ends with.
    TFakeWindow LoadInNewWindow(TScreenMetrics screen = {1280, 1024, 96})
    {
        TFakeWindow next;
        next.ScreenNow = screen;
        TFormStorage(Registry, next, "TfmMainForm").LoadPlacement();
        next.Placed.pop_back();
        return next;
    }
};

TEST_F(FormStorageTest, FirstShowAndSaveWriteEveryValueInOrder)
{
    Window.Frame = {8, 6};
    Storage.LoadPlacement();
    EXPECT_TRUE(Storage.LoadCompleted());
    EXPECT_FALSE(Registry.HasSection) << "a load must not create the section";
    EXPECT_EQ(Window.State, TWindowState::Normal);
    ASSERT_EQ(Window.Placed.size(), 1u) << "nothing stored, only the fix-up";
    EXPECT_EQ(Window.Placed[0].ShowCmd, kShowCmdHide);
    EXPECT_EQ(Window.Placed[0].MaxPosition.X, -8) << "maximised frame off the screen";
    EXPECT_EQ(Window.Placed[0].MaxPosition.Y, -6);
    EXPECT_EQ(Rect(Window.Placed[0]), "975,138,1324,334");

    Window.Record.ShowCmd = 1;
    Storage.StorePlacement();
    const TWrites writes{{"FormVersion", "0"}, {"Flags", "0"}, {"ShowCmd", "1"}, {"PixelsPerInch", "96"},
                         {"MinMaxPos(1280x1024)", "-1,-1,-8,-6"}, {"MinMaxPos", "-1,-1,-8,-6"},
                         {"NormPos(1280x1024)", "975,138,1324,334"}, {"NormPos", "975,138,1324,334"},
                         {"Visible", "0"}, {"CurrentBand", "0"}};
    EXPECT_EQ(Registry.Writes, writes);
    EXPECT_TRUE(Storage.Saved());
    EXPECT_EQ(Registry.OpenKeys, 0);
}

TEST_F(FormStorageTest, NextWindowComesUpWhereTheLastOneClosed)
{
    Storage.LoadPlacement();
    Window.Record = {2, 3, {-32000, -32000}, {-4, -4}, {100, 50, 600, 450}};
    Storage.StorePlacement();

    const TFakeWindow next = LoadInNewWindow();
    ASSERT_EQ(next.Placed.size(), 1u);
    EXPECT_EQ(next.Placed[0].Flags, 2);
    EXPECT_EQ(next.Placed[0].ShowCmd, kShowCmdHide) << "the load must not show the window";
    EXPECT_EQ(next.Placed[0].MinPosition.X, -32000);
    EXPECT_EQ(Rect(next.Placed[0]), "100,50,600,450");
    EXPECT_EQ(next.State, TWindowState::Maximized);
}

TEST_F(FormStorageTest, PositionsForThisScreenSizeAreTakenFirst)
{
    Storage.LoadPlacement();
    Window.Record.NormalPosition = {10, 10, 300, 200};
    Storage.StorePlacement();  // at 1280 x 1024
    const TScreenMetrics wide{1920, 1080, 96};
    EXPECT_EQ(Rect(LoadInNewWindow(wide).Placed.at(0)), "10,10,300,200") << "fallback to the latest";

    Registry.Store("NormPos(1920x1080)", "50,60,700,800");
    EXPECT_EQ(Rect(LoadInNewWindow(wide).Placed.at(0)), "50,60,700,800");
    Registry.Store("NormPos(1920x1080)", "");
    EXPECT_EQ(Rect(LoadInNewWindow(wide).Placed.at(0)), "10,10,300,200") << "empty counts as missing";
}

TEST_F(FormStorageTest, OtherPixelsPerInchIgnoresPositionsOnly)
{
    Registry.Store("PixelsPerInch", "120");
    Registry.Store("NormPos", "10,10,300,200");
    Registry.Store("ShowCmd", "3");
    Registry.Store("CurrentBand", "20M");
    Storage.LoadPlacement();
    EXPECT_EQ(Window.Placed.size(), 1u) << "only the fix-up";
    EXPECT_EQ(Window.State, TWindowState::Maximized);
    EXPECT_EQ(Storage.CurrentBand(), "20M");
}

TEST_F(FormStorageTest, ShowCmdGivesNormalUnlessMaximized)
{
    for (const char* stored : {"0", "1", "2", "3", "4", "6", "7", "9", "abc"}) {
        Registry.Store("ShowCmd", stored);
        const TWindowState expected = std::string(stored) == "3" ? TWindowState::Maximized : TWindowState::Normal;
        EXPECT_EQ(LoadInNewWindow().State, expected) << "ShowCmd <" << stored << ">";
    }
}

TEST_F(FormStorageTest, NegativeFormVersionReadsNothingElse)
{
    Registry.Store("FormVersion", "-1");
    Registry.Store("NormPos", "10,10,300,200");
    Registry.Store("CurrentBand", "40M");
    Storage.LoadPlacement();
    EXPECT_EQ(Registry.Reads, std::vector<std::string>{"FormVersion"});
    EXPECT_TRUE(Storage.LoadCompleted());
    EXPECT_EQ(Window.Placed.size(), 1u) << "only the fix-up";
    EXPECT_EQ(Storage.CurrentBand(), "0");
    Storage.StorePlacement();
    EXPECT_EQ(Registry.Section["FormVersion"], "0");
}

TEST_F(FormStorageTest, PositionWordsAndTheirDefaults)
{
    const std::vector<std::pair<std::string, std::string>> cases{
        {"10,20", "10,20,1324,334"},  // the window's current right and bottom edges
        {"10 20 bad 300", "10,20,1324,300"},
        {" 1,,2 , 400 ,500", "1,2,400,500"}};
    for (const auto& [stored, rect] : cases) {
        Registry.Store("NormPos", stored);
        EXPECT_EQ(Rect(LoadInNewWindow().Placed.at(0)), rect) << "NormPos <" << stored << ">";
    }
    Registry.Store("MinMaxPos", "7,x,$10");
    const TPlacementRecord record = LoadInNewWindow().Placed.at(0);
    EXPECT_EQ(record.MinPosition.X, 7);
    EXPECT_EQ(record.MinPosition.Y, 0);
    EXPECT_EQ(record.MaxPosition.X, 16);
    EXPECT_EQ(record.MaxPosition.Y, 0);

    for (const char* stored : {"300,10,300,200", "300,10,200,200"}) {
        Registry.Store("NormPos", stored);
        EXPECT_TRUE(LoadInNewWindow().Placed.empty()) << "right not past left <" << stored << ">";
    }
}

TEST_F(FormStorageTest, CurrentBandTextComesBackUnchanged)
{
    Registry.Store("CurrentBand", "abc");
    Storage.LoadPlacement();
    Storage.StorePlacement();
    EXPECT_EQ(Registry.Writes.back(), (std::pair<std::string, std::string>{"CurrentBand", "abc"}));
}

TEST_F(FormStorageTest, SavesOncePerWindowAndVisibleOnlyAtDestruction)
{
    Storage.StorePlacementOnDestroy();
    EXPECT_TRUE(Registry.Writes.empty()) << "no save before a completed load";

    TFakeWindow closing;
    TFormStorage closed(Registry, closing, "TfmMainForm");
    closed.LoadPlacement();
    closed.StorePlacement();
    const std::size_t writes = Registry.Writes.size();
    closed.StorePlacementOnDestroy();
    EXPECT_EQ(Registry.Writes.size(), writes) << "a closed window writes nothing at destruction";
    EXPECT_EQ(Registry.Section["Visible"], "0");

    Storage.LoadPlacement();
    Storage.StorePlacementOnDestroy();
    EXPECT_EQ(Registry.Section["Visible"], "1");
}

// A failure at steps 2 to 9 leaves the load incomplete, so this window never
// saves over the data.
TEST_F(FormStorageTest, LoadFailuresBeforeThePlacementIsInStopEverything)
{
    for (const std::string name : {"FormVersion", "Flags", "MinMaxPos(1280x1024)", "NormPos",
                                   "PixelsPerInch", "ShowCmd"}) {
        for (const bool wrongType : {false, true}) {
            TFakeRegistry registry;
            registry.Store(name, "1");
            (wrongType ? registry.NotText : registry.ReadFailures).insert(name);
            TFakeWindow window;
            TFormStorage storage(registry, window, "TfmMainForm");

            EXPECT_EQ(ErrorOf([&] { storage.LoadPlacement(); }),
                      (wrongType ? "Invalid data type for '" : "Failed to get data for '") + name + "'");
            EXPECT_FALSE(storage.LoadCompleted()) << name;
            EXPECT_TRUE(window.Placed.empty()) << "a step after the failing one ran: " << name;
            EXPECT_EQ(registry.OpenKeys, 0) << name;
            storage.StorePlacementOnDestroy();
            EXPECT_TRUE(registry.Writes.empty()) << name;
        }
    }
}

TEST_F(FormStorageTest, CurrentBandFailureLeavesTheLoadCompleted)
{
    Registry.Store("NormPos", "10,10,300,200");
    Registry.Store("CurrentBand", "15M");
    Registry.NotText.insert("CurrentBand");
    EXPECT_EQ(ErrorOf([&] { Storage.LoadPlacement(); }), "Invalid data type for 'CurrentBand'");
    EXPECT_TRUE(Storage.LoadCompleted());
    EXPECT_EQ(Storage.CurrentBand(), "0");
    EXPECT_EQ(Window.Placed.size(), 1u) << "the stored placement, not the fix-up";
    EXPECT_EQ(Registry.OpenKeys, 0);
}

TEST_F(FormStorageTest, SaveFailuresStopAndLeaveTheWindowUnsaved)
{
    Storage.LoadPlacement();
    Registry.SectionCreateFails = true;
    EXPECT_EQ(ErrorOf([&] { Storage.StorePlacement(); }), "Failed to create key TfmMainForm");
    Registry.SectionCreateFails = false;
    Registry.ApplicationKeyFails = true;
    EXPECT_EQ(ErrorOf([&] { Storage.StorePlacement(); }), "Failed to create key TfmMainForm");
    Registry.ApplicationKeyFails = false;
    EXPECT_TRUE(Registry.Writes.empty());

    Registry.WriteFailures = {"NormPos(1280x1024)"};
    EXPECT_EQ(ErrorOf([&] { Storage.StorePlacement(); }), "Failed to set data for 'NormPos(1280x1024)'");
    EXPECT_EQ(Registry.Writes.size(), 6u) << "writes stop at the failing value";
    EXPECT_FALSE(Storage.Saved());
    EXPECT_EQ(Registry.OpenKeys, 0);

    Registry.WriteFailures.clear();
    Storage.StorePlacementOnDestroy();
    EXPECT_TRUE(Storage.Saved()) << "the destruction tries again";
    EXPECT_EQ(Registry.Section["Visible"], "1");
}

}  // namespace
