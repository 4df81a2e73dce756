#include "HostRegistry.h"

#include <vector>

#include "Checks.h"
#include "window/Win32Handles.h"

namespace host {

using hostkit::PlacementKeyPath;

TRegistryValue ReadPlacementValue(const std::string& name)
{
    TRegistryValue value;
    TScopedRegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, PlacementKeyPath().c_str(), 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
        return value;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        std::vector<char> data(size + 1, '\0');
        if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) ==
            ERROR_SUCCESS) {
            value.Exists = true;
            value.Type = type;
            if (type == REG_SZ || type == REG_EXPAND_SZ)
                value.Text = std::string(data.data());
        }
    }
    return value;
}

std::string PlacementText(const std::string& name)
{
    const TRegistryValue value = ReadPlacementValue(name);
    if (!value.Exists)
        return "<no value>";
    if (value.Type != REG_SZ)
        return "<value of type " + std::to_string(value.Type) + ">";
    return value.Text;
}

namespace {
TScopedRegKey CreatePlacementKey()
{
    TScopedRegKey key;
    const LONG result = RegCreateKeyExA(HKEY_CURRENT_USER, PlacementKeyPath().c_str(), 0, nullptr,
                                        REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr, key.Receive(), nullptr);
    REQUIRE(result == ERROR_SUCCESS, "placement key created by the host");
    return key;
}
}  // namespace

void WritePlacementText(const std::string& name, const std::string& text)
{
    const TScopedRegKey key = CreatePlacementKey();
    RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size()) + 1);
}

void WritePlacementDword(const std::string& name, DWORD value)
{
    const TScopedRegKey key = CreatePlacementKey();
    RegSetValueExA(key.Get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

void DeletePlacementValue(const std::string& name)
{
    TScopedRegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, PlacementKeyPath().c_str(), 0, KEY_WRITE, key.Receive()) == ERROR_SUCCESS)
        RegDeleteValueA(key.Get(), name.c_str());
}

std::string ScreenSuffix()
{
    return "(" + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "x" + std::to_string(GetSystemMetrics(SM_CYSCREEN)) +
           ")";
}

}  // namespace host
