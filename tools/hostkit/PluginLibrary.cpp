#include "hostkit/PluginLibrary.h"

#include <cstring>

#include "hostkit/HostRecord.h"

namespace hostkit {

std::string SystemMessage(DWORD error)
{
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
        reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length > 0 && text ? std::string(text, length) : std::string();
    if (text)
        LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ' ||
                                message.back() == '.'))
        message.pop_back();
    return message.empty() ? "error " + std::to_string(error) : message + " (error " + std::to_string(error) + ")";
}

TPlugin::TPlugin(const std::string& path) : Path_(path)
{
    Module_ = LoadLibraryA(path.c_str());
    if (!Module_)
        throw TPluginLoadError("cannot load the plug-in " + path + ": " + SystemMessage(GetLastError()));

    for (const TExportName& entry : kExports) {
        FARPROC byName = GetProcAddress(Module_, entry.Name);
        if (!byName) {
            Unload();
            throw TPluginLoadError("the plug-in " + path + " has no export " + entry.Name);
        }
        if (byName != GetProcAddress(Module_, MAKEINTRESOURCEA(entry.Ordinal)))
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

TPluginIdentity TPlugin::Identity() const
{
    TPluginInfo info;
    std::memset(&info, 0, sizeof info);
    GetInfo_(&info);
    return {SlotText(info.PluginName), SlotText(info.PluginKind), info.InfoValue1, info.InfoValue2};
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

}  // namespace hostkit
