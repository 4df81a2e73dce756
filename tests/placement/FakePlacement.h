// In-memory stand-ins for the registry and the window, recording what the
// store does to them and failing where a test asks.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "window/FormStorage.h"
#include "window/PlacementRegistry.h"
#include "window/PlacementWindow.h"

// The message of the TPlacementError the operation throws, or "no error".
inline std::string ErrorOf(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const TPlacementError& error) {
        return error.what();
    }
    return "no error";
}

// An application key with at most the one section "TfmMainForm" below it.
class TFakeRegistry : public TPlacementRegistry {
public:
    std::map<std::string, std::string> Section;
    std::set<std::string> NotText, ReadFailures, WriteFailures;
    bool HasSection = false;
    bool ApplicationKeyFails = false;
    bool SectionCreateFails = false;

    std::vector<std::string> Reads;
    std::vector<std::pair<std::string, std::string>> Writes;
    int OpenKeys = 0;

    void Store(const std::string& name, const std::string& text)
    {
        HasSection = true;
        Section[name] = text;
    }

    std::unique_ptr<TPlacementKey> OpenApplicationKey() override
    {
        return ApplicationKeyFails ? nullptr : std::make_unique<TKey>(*this, false);
    }

private:
    class TKey : public TPlacementKey {
    public:
        TKey(TFakeRegistry& registry, bool isSection) : R(registry), IsSection(isSection) { ++R.OpenKeys; }
        ~TKey() override { --R.OpenKeys; }

        std::unique_ptr<TPlacementKey> OpenSubKeyForReading(const std::string& name) override
        {
            if (IsSection || name != "TfmMainForm" || !R.HasSection)
                return nullptr;
            return std::make_unique<TKey>(R, true);
        }
        std::unique_ptr<TPlacementKey> CreateSubKey(const std::string& name) override
        {
            if (IsSection || name != "TfmMainForm" || R.SectionCreateFails)
                return nullptr;
            R.HasSection = true;
            return std::make_unique<TKey>(R, true);
        }
        TRegistryTextRead ReadText(const std::string& name) override
        {
            R.Reads.push_back(name);
            const auto found = R.Section.find(name);
            if (!IsSection || found == R.Section.end())
                return {TRegistryReadStatus::Missing, {}};
            if (R.ReadFailures.count(name))
                return {TRegistryReadStatus::Failed, {}};
            if (R.NotText.count(name))
                return {TRegistryReadStatus::WrongType, {}};
            return {TRegistryReadStatus::Text, found->second};
        }
        bool WriteText(const std::string& name, const std::string& text) override
        {
            if (!IsSection || R.WriteFailures.count(name))
                return false;
            R.Writes.emplace_back(name, text);
            R.Section[name] = text;
            return true;
        }

    private:
        TFakeRegistry& R;
        bool IsSection;
    };
};

// A window as designed (left 975, top 138, 349 x 196) on a 1280 x 1024
// screen at 96 pixels per inch. A placement handed to it moves it.
class TFakeWindow : public TPlacementWindow {
public:
    TPlacementRecord Record{0, 1, {-1, -1}, {-1, -1}, {975, 138, 1324, 334}};
    TScreenMetrics ScreenNow{1280, 1024, 96};
    TFrameThickness Frame{4, 4};
    std::vector<TPlacementRecord> Placed;
    std::optional<TWindowState> State;

    TPlacementRecord GetPlacement() override { return Record; }
    void SetPlacement(const TPlacementRecord& record) override
    {
        Placed.push_back(record);
        Record = record;
    }
    TWindowBounds Bounds() override
    {
        const TPlacementRect& r = Record.NormalPosition;
        return {r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top};
    }
    void SetWindowState(TWindowState state) override { State = state; }
    TScreenMetrics Screen() override { return ScreenNow; }
    TFrameThickness SizeableFrame() override { return Frame; }
};
