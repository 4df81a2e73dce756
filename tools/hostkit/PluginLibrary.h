// The plug-in as a host loads and calls it: a DLL loaded by path, its six
// exports found by name (and checked against their ordinals), and every call
// made through the host's register convention, regparm(3) on i386: the
// arguments in EAX, EDX and ECX, nothing on the stack.
#pragma once

#include <windows.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "plugin/PluginRecords.h"

namespace hostkit {

#define HOSTKIT_REGPARM __attribute__((regparm(3)))
using GrabNumberFn = void(HOSTKIT_REGPARM*)(const TPluginData*, TShortStringSlot*);
using ReleaseFn = void(HOSTKIT_REGPARM*)();
using GetScoreFn = std::int32_t(HOSTKIT_REGPARM*)(const TPluginData*);
using AddQSOFn = std::int32_t(HOSTKIT_REGPARM*)(const TPluginData*);
using RunFn = std::uint32_t(HOSTKIT_REGPARM*)(std::uint32_t, const TPluginData*);
using GetInfoFn = void(HOSTKIT_REGPARM*)(TPluginInfo*);

struct TExportName {
    const char* Name;
    WORD Ordinal;
};
// The six exports a host looks up, in ordinal order.
inline constexpr TExportName kExports[] = {{"_GrabNumber", 1}, {"_Release", 2}, {"_GetScore", 3},
                                           {"_AddQSO", 4},     {"_Run", 5},     {"_GetInfo", 6}};

// The DLL cannot be loaded, or lacks an export by name.
struct TPluginLoadError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// What _GetInfo wrote: the name and kind texts and the two integers.
struct TPluginIdentity {
    std::string Name;
    std::string Kind;
    std::int32_t Value1 = 0;
    std::int32_t Value2 = 0;
};

class TPlugin {
public:
    // LoadLibrary, then every export by name; throws TPluginLoadError with
    // the path and the system's reason. An export whose ordinal leads
    // elsewhere does not stop the load: a host calls by name, and the
    // mismatch is kept for whoever wants to report it.
    explicit TPlugin(const std::string& path);
    ~TPlugin();
    TPlugin(const TPlugin&) = delete;
    TPlugin& operator=(const TPlugin&) = delete;

    const std::string& Path() const { return Path_; }
    HMODULE Module() const { return Module_; }
    bool Loaded() const { return Module_ != nullptr; }
    // FreeLibrary now, as a host does after _Release. No call may follow.
    void Unload();

    // "_AddQSO is not ordinal 4", one per export whose ordinal resolves to
    // another address than its name.
    const std::vector<std::string>& OrdinalMismatches() const { return OrdinalMismatches_; }
    void* Address(const char* name) const;

    void GetInfo(TPluginInfo* info) const { GetInfo_(info); }
    // _GetInfo into a record of the host's, read back.
    TPluginIdentity Identity() const;
    HWND Run(const TPluginData* data, std::uint32_t unused = 0) const;
    std::int32_t AddQSO(const TPluginData* data) const { return AddQSO_(data); }
    std::int32_t GetScore(const TPluginData* data) const { return GetScore_(data); }
    void GrabNumberInto(const TPluginData* data, TShortStringSlot* result) const { GrabNumber_(data, result); }
    // The looked-up text, read back from a buffer that was filled with 0xCC
    // first, so that a length byte left unwritten shows.
    std::string GrabNumber(const TPluginData* data) const;
    void Release() const { Release_(); }

private:
    std::string Path_;
    HMODULE Module_ = nullptr;
    GrabNumberFn GrabNumber_ = nullptr;
    ReleaseFn Release_ = nullptr;
    GetScoreFn GetScore_ = nullptr;
    AddQSOFn AddQSO_ = nullptr;
    RunFn Run_ = nullptr;
    GetInfoFn GetInfo_ = nullptr;
    std::vector<std::string> OrdinalMismatches_;
};

// "the specified module could not be found" and the like, for an error code.
std::string SystemMessage(DWORD error);

}  // namespace hostkit
