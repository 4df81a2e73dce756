// Registry failures of the placement store that the store's own tests leave
// out: a section key that cannot be created, each value that cannot be
// written, and the values that cannot be read beyond those already covered
// (the fallbacks "MinMaxPos" and "NormPos(<screen>)", and a CurrentBand that
// exists but cannot be read). Each must give its own message and leave the
// load-completed and saved marks as the rules say, and values the store has
// no reason to read must not fail it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakePlacement.h"
#include "window/FormStorage.h"

namespace {

// The values a save writes, in the order it writes them, on the fake's
// 1280 x 1024 screen.
const std::vector<std::string> kSavedValues = {"FormVersion", "Flags",   "ShowCmd",
                                               "PixelsPerInch", "MinMaxPos(1280x1024)", "MinMaxPos",
                                               "NormPos(1280x1024)", "NormPos", "Visible",
                                               "CurrentBand"};

TEST(PlacementFailures, SectionThatCannotBeCreatedLeavesTheWindowUnsavedUntilItWorks)
{
    TFakeRegistry registry;
    TFakeWindow window;
    TFormStorage storage(registry, window, "TfmMainForm");
    storage.LoadPlacement();
    registry.SectionCreateFails = true;

    EXPECT_EQ(ErrorOf([&] { storage.StorePlacement(); }), "Failed to create key TfmMainForm") << "at the close";
    EXPECT_TRUE(storage.LoadCompleted()) << "a failed save does not undo the load";
    EXPECT_FALSE(storage.Saved());
    EXPECT_TRUE(registry.Writes.empty());
    EXPECT_EQ(registry.OpenKeys, 0) << "the application key is closed after the failure";

    EXPECT_EQ(ErrorOf([&] { storage.StorePlacementOnDestroy(); }), "Failed to create key TfmMainForm")
        << "the destruction tries again, and fails the same way";
    EXPECT_FALSE(storage.Saved());
    EXPECT_EQ(registry.OpenKeys, 0);
}

TEST(PlacementFailures, EachValueThatCannotBeWrittenNamesItselfAndStopsTheSave)
{
    for (std::size_t failing = 0; failing < kSavedValues.size(); ++failing) {
        const std::string& name = kSavedValues[failing];
        TFakeRegistry registry;
        TFakeWindow window;
        TFormStorage storage(registry, window, "TfmMainForm");
        storage.LoadPlacement();
        registry.WriteFailures = {name};

        EXPECT_EQ(ErrorOf([&] { storage.StorePlacement(); }), "Failed to set data for '" + name + "'");
        ASSERT_EQ(registry.Writes.size(), failing) << name << ": the values before it are written, none after";
        for (std::size_t at = 0; at < failing; ++at)
            EXPECT_EQ(registry.Writes[at].first, kSavedValues[at]) << name;
        EXPECT_FALSE(storage.Saved()) << name;
        EXPECT_TRUE(storage.LoadCompleted()) << name;
        EXPECT_EQ(registry.OpenKeys, 0) << name;

        registry.WriteFailures.clear();
        registry.Writes.clear();
        EXPECT_EQ(ErrorOf([&] { storage.StorePlacementOnDestroy(); }), "no error") << name;
        EXPECT_TRUE(storage.Saved()) << name << ": the destruction saves what the close could not";
        EXPECT_EQ(registry.Writes.size(), kSavedValues.size()) << name;
        EXPECT_EQ(registry.Section["Visible"], "1") << name;
    }
}

// Only the fallbacks get read when the value for this screen is missing.
TEST(PlacementFailures, UnreadableFallbackPositionsStopTheLoad)
{
    for (const std::string name : {"MinMaxPos", "NormPos(1280x1024)"}) {
        TFakeRegistry registry;
        registry.Store(name, "10,10,300,200");
        registry.ReadFailures.insert(name);
        TFakeWindow window;
        TFormStorage storage(registry, window, "TfmMainForm");

        EXPECT_EQ(ErrorOf([&] { storage.LoadPlacement(); }), "Failed to get data for '" + name + "'");
        EXPECT_FALSE(storage.LoadCompleted()) << name;
        EXPECT_TRUE(window.Placed.empty()) << name << ": nothing placed after the failing step";
        EXPECT_EQ(registry.OpenKeys, 0) << name;
        storage.StorePlacementOnDestroy();
        EXPECT_TRUE(registry.Writes.empty()) << name << ": a window whose load failed never saves";
    }
}

TEST(PlacementFailures, ValuesTheLoadHasNoReasonToReadDoNotFailIt)
{
    TFakeRegistry registry;
    // The suffixed values for this screen exist, so the fallbacks are not
    // read; Visible is never read; another screen's values are not read.
    registry.Store("MinMaxPos(1280x1024)", "-1,-1,-1,-1");
    registry.Store("NormPos(1280x1024)", "10,20,400,300");
    for (const std::string name : {"MinMaxPos", "NormPos", "Visible", "NormPos(1920x1080)"}) {
        registry.Store(name, "1,1,1,1");
        registry.ReadFailures.insert(name);
    }
    TFakeWindow window;
    TFormStorage storage(registry, window, "TfmMainForm");

    EXPECT_EQ(ErrorOf([&] { storage.LoadPlacement(); }), "no error");
    EXPECT_TRUE(storage.LoadCompleted());
    ASSERT_FALSE(window.Placed.empty());
    EXPECT_EQ(window.Placed.front().NormalPosition.Left, 10);
    EXPECT_EQ(window.Placed.front().NormalPosition.Bottom, 300);
}

TEST(PlacementFailures, UnreadableCurrentBandCompletesTheLoadAndKeepsTheOldValue)
{
    TFakeRegistry registry;
    registry.Store("NormPos", "10,10,300,200");
    registry.Store("CurrentBand", "15M");
    registry.ReadFailures.insert("CurrentBand");
    TFakeWindow window;
    TFormStorage storage(registry, window, "TfmMainForm");

    EXPECT_EQ(ErrorOf([&] { storage.LoadPlacement(); }), "Failed to get data for 'CurrentBand'");
    EXPECT_TRUE(storage.LoadCompleted()) << "CurrentBand is read after the load is marked completed";
    EXPECT_EQ(storage.CurrentBand(), "0");
    EXPECT_EQ(registry.OpenKeys, 0);

    registry.ReadFailures.clear();
    EXPECT_EQ(ErrorOf([&] { storage.StorePlacement(); }), "no error");
    EXPECT_TRUE(storage.Saved());
    EXPECT_EQ(registry.Section["CurrentBand"], "0") << "the unreadable text is not written back";
}

}  // namespace
