#include "PluginLibrary.h"

#include <cstring>

#include "Checks.h"
#include "HostRecord.h"

namespace host {

namespace {
std::string& PluginPathStorage()
{
    static std::string path;
    return path;
}
}  // namespace

const std::string& PluginPath() { return PluginPathStorage(); }
void SetPluginPath(std::string path) { PluginPathStorage() = std::move(path); }

TPlugin::TPlugin(const std::string& path)
{
    Module_ = LoadLibraryA(path.c_str());
    CHECK(Module_ != nullptr, "LoadLibrary of the plug-in", path + " failed with error " + std::to_string(GetLastError()));
    if (!Module_)
        throw TCaseAborted("the plug-in cannot be loaded");

    for (const TExportName& entry : kExports) {
        FARPROC byName = GetProcAddress(Module_, entry.Name);
        FARPROC byOrdinal = GetProcAddress(Module_, MAKEINTRESOURCEA(entry.Ordinal));
        CHECK(byName != nullptr, "export by name", std::string(entry.Name) + " is missing");
        if (!byName)
            throw TCaseAborted("an export is missing");
        if (byName != byOrdinal)
            OrdinalMismatches_.push_back(std::string(entry.Name) + " is not ordinal " + std::to_string(entry.Ordinal));
    }
    GrabNumber_ = reinterpret_cast<GrabNumberFn>(Address("_GrabNumber"));
    Release_ = reinterpret_cast<ReleaseFn>(Address("_Release"));
    GetScore_ = reinterpret_cast<GetScoreFn>(Address("_GetScore"));
    AddQSO_ = reinterpret_cast<AddQSOFn>(Address("_AddQSO"));
    Run_ = reinterpret_cast<RunFn>(Address("_Run"));
    GetInfo_ = reinterpret_cast<GetInfoFn>(Address("_GetInfo"));
}

TPlugin::~TPlugin() { Unload(); }

void TPlugin::Unload()
{
    if (Module_)
        FreeLibrary(Module_);
    Module_ = nullptr;
}

void* TPlugin::Address(const char* name) const
{
    return Module_ ? reinterpret_cast<void*>(GetProcAddress(Module_, name)) : nullptr;
}

HWND TPlugin::Run(const TPluginData* data, std::uint32_t unused) const
{
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(Run_(unused, data)));
}

std::string TPlugin::GrabNumber(const TPluginData* data) const
{
    TShortStringSlot result;
    std::memset(&result, 0xCC, sizeof result);
    GrabNumber_(data, &result);
    return SlotText(result);
}

}  // namespace host
