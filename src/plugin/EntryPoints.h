// What the host's entry points do, apart from the calling convention and
// the window itself: copy the record first, answer "no window" with 0 or an
// empty text, and otherwise score, record and report through the window.
// Null addresses from a host are answered like "no window", never followed.
#pragma once

#include <cstdint>
#include <string>

#include "plugin/PluginRecords.h"

// The statistics window as the entry points see it. It reads the current
// contact from the CurrentData copy the entry point has just made.
class TScoringWindow {
public:
    virtual std::int32_t ScoreQSO(bool add) = 0;
    virtual void SortQSOList() = 0;
    virtual void ShowStatistic() = 0;
    virtual std::string FindMemberNumber() const = 0;

protected:
    ~TScoringWindow() = default;
};

std::int32_t AddQSOEntry(TPluginData& currentData, const TPluginData* record, TScoringWindow* window);
std::int32_t GetScoreEntry(TPluginData& currentData, const TPluginData* record, TScoringWindow* window);
void GrabNumberEntry(TPluginData& currentData, const TPluginData* record, const TScoringWindow* window,
                     TShortStringSlot* result);
void GetInfoEntry(TPluginInfo* info);
