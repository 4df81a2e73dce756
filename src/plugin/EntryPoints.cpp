#include "plugin/EntryPoints.h"

std::int32_t AddQSOEntry(TPluginData& currentData, const TPluginData* record, TScoringWindow* window)
{
    if (!record)
        return 0;
    CopyRecord(currentData, *record);
    if (!window)
        return 0;
    const std::int32_t result = window->ScoreQSO(true);
    if (result > 0)
        window->SortQSOList();
    // Duplicates rewrite the report too: whatever was typed into it goes.
    window->ShowStatistic();
    return result;
}

std::int32_t GetScoreEntry(TPluginData& currentData, const TPluginData* record, TScoringWindow* window)
{
    if (!record)
        return 0;
    CopyRecord(currentData, *record);
    return window ? window->ScoreQSO(false) : 0;
}

void GrabNumberEntry(TPluginData& currentData, const TPluginData* record, const TScoringWindow* window,
                     TShortStringSlot* result)
{
    if (record)
        CopyRecord(currentData, *record);
    const std::string number = (record && window) ? window->FindMemberNumber() : std::string();
    if (result)
        WriteSlot(*result, number);
}

void GetInfoEntry(TPluginInfo* info)
{
    if (info)
        FillPluginInfo(*info);
}
