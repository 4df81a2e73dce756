// The plug-in as a host sees it: a DLL loaded by path whose six exports are
// called through the host's register convention (regparm(3): EAX, EDX, ECX).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "plugin/PluginRecords.h"

namespace host {

#define HOST_REGPARM __attribute__((regparm(3)))
using GrabNumberFn = void(HOST_REGPARM*)(const TPluginData*, TShortStringSlot*);
using ReleaseFn = void(HOST_REGPARM*)();
using GetScoreFn = std::int32_t(HOST_REGPARM*)(const TPluginData*);
using AddQSOFn = std::int32_t(HOST_REGPARM*)(const TPluginData*);
using RunFn = std::uint32_t(HOST_REGPARM*)(std::uint32_t, const TPluginData*);
using GetInfoFn = void(HOST_REGPARM*)(TPluginInfo*);

// Name and ordinal of each export, in ordinal order.
struct TExportName {
    const char* Name;
    WORD Ordinal;
};
inline constexpr TExportName kExports[] = {{"_GrabNumber", 1}, {"_Release", 2}, {"_GetScore", 3},
                                           {"_AddQSO", 4},     {"_Run", 5},     {"_GetInfo", 6}};

// The path of VelmoraCup.dll given on the command line.
const std::string& PluginPath();
void SetPluginPath(std::string path);

class TPlugin {
public:
    // Loads the DLL and resolves every export by name and by ordinal; ends
    // the case when the DLL or a name is missing.
    explicit TPlugin(const std::string& path = PluginPath());
    ~TPlugin();
    TPlugin(const TPlugin&) = delete;
    TPlugin& operator=(const TPlugin&) = delete;

    HMODULE Module() const { return Module_; }
    bool Loaded() const { return Module_ != nullptr; }
    // FreeLibrary now, as a host does after _Release.
    void Unload();

    // Exports whose ordinal resolves to another address than their name.
    const std::vector<std::string>& OrdinalMismatches() const { return OrdinalMismatches_; }
    void* Address(const char* name) const;

    void GetInfo(TPluginInfo* info) const { GetInfo_(info); }
    HWND Run(const TPluginData* data, std::uint32_t unused = 0) const;
    std::int32_t AddQSO(const TPluginData* data) const { return AddQSO_(data); }
    std::int32_t GetScore(const TPluginData* data) const { return GetScore_(data); }
    void GrabNumberInto(const TPluginData* data, TShortStringSlot* result) const { GrabNumber_(data, result); }
    // The looked-up text, read back from a buffer that was filled with 0xCC.
    std::string GrabNumber(const TPluginData* data) const;
    void Release() const { Release_(); }

private:
    HMODULE Module_ = nullptr;
    GrabNumberFn GrabNumber_ = nullptr;
    ReleaseFn Release_ = nullptr;
    GetScoreFn GetScore_ = nullptr;
    AddQSOFn AddQSO_ = nullptr;
    RunFn Run_ = nullptr;
    GetInfoFn GetInfo_ = nullptr;
    std::vector<std::string> OrdinalMismatches_;
};

}  // namespace host
