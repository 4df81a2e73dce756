#include "RegistryWriteRecorder.h"

#include "PeImage.h"

namespace host {

namespace {

using SetValueA = LSTATUS(WINAPI*)(HKEY, LPCSTR, DWORD, DWORD, const BYTE*, DWORD);
using SetValueW = LSTATUS(WINAPI*)(HKEY, LPCWSTR, DWORD, DWORD, const BYTE*, DWORD);

std::vector<TRecordedWrite> Writes;
SetValueA OriginalA = nullptr;
SetValueW OriginalW = nullptr;

std::string Narrow(const wchar_t* text, int length)
{
    if (!text || length <= 0)
        return {};
    const int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, length, narrow.data(), size, nullptr, nullptr);
    return narrow;
}

LSTATUS WINAPI RecordSetValueA(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size)
{
    TRecordedWrite write{name ? name : "", type, {}};
    if ((type == REG_SZ || type == REG_EXPAND_SZ) && data) {
        write.Text.assign(reinterpret_cast<const char*>(data), size);
        write.Text.resize(write.Text.find('\0') == std::string::npos ? write.Text.size() : write.Text.find('\0'));
    }
    Writes.push_back(write);
    return OriginalA(key, name, reserved, type, data, size);
}

LSTATUS WINAPI RecordSetValueW(HKEY key, LPCWSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size)
{
    TRecordedWrite write{Narrow(name, name ? lstrlenW(name) : 0), type, {}};
    if ((type == REG_SZ || type == REG_EXPAND_SZ) && data) {
        const auto* text = reinterpret_cast<const wchar_t*>(data);
        int length = 0;
        while (static_cast<DWORD>(length + 1) * sizeof(wchar_t) <= size && text[length] != L'\0')
            ++length;
        write.Text = Narrow(text, length);
    }
    Writes.push_back(write);
    return OriginalW(key, name, reserved, type, data, size);
}

void* Patch(void** slot, void* replacement)
{
    DWORD protection = 0;
    VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &protection);
    void* original = *slot;
    *slot = replacement;
    VirtualProtect(slot, sizeof(void*), protection, &protection);
    return original;
}

}  // namespace

TRegistryWriteRecorder::TRegistryWriteRecorder(HMODULE plugin)
{
    Writes.clear();
    // The registry functions live in advapi32; newer import libraries may
    // route them through the core API sets.
    for (const char* dll : {"advapi32.dll", "api-ms-win-core-registry-l1-1-0.dll", "kernelbase.dll"}) {
        if (void** slot = FindImportSlot(plugin, dll, "RegSetValueExA")) {
            OriginalA = reinterpret_cast<SetValueA>(Patch(slot, reinterpret_cast<void*>(&RecordSetValueA)));
            Patches_.push_back(slot);
        }
        if (void** slot = FindImportSlot(plugin, dll, "RegSetValueExW")) {
            OriginalW = reinterpret_cast<SetValueW>(Patch(slot, reinterpret_cast<void*>(&RecordSetValueW)));
            Patches_.push_back(slot);
        }
    }
}

std::vector<TRecordedWrite> TRegistryWriteRecorder::Take()
{
    std::vector<TRecordedWrite> taken;
    taken.swap(Writes);
    return taken;
}

std::string TRegistryWriteRecorder::TakeNames()
{
    std::string names;
    for (const TRecordedWrite& write : Take())
        names += (names.empty() ? "" : ", ") + write.Name;
    return names;
}

}  // namespace host
