#include "HostRegistry.h"

#include <vector>

#include "Checks.h"

namespace host {

std::string PlacementKeyPath() { return "Software\\" + HostExeName() + "\\TfmMainForm"; }

TRegistryValue ReadPlacementValue(const std::string& name)
{
    TRegistryValue value;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, PlacementKeyPath().c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return value;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        std::vector<char> data(size + 1, '\0');
        if (RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) ==
            ERROR_SUCCESS) {
            value.Exists = true;
            value.Type = type;
            if (type == REG_SZ || type == REG_EXPAND_SZ)
                value.Text = std::string(data.data());
        }
    }
    RegCloseKey(key);
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
HKEY CreatePlacementKey()
{
    HKEY key = nullptr;
    const LONG result = RegCreateKeyExA(HKEY_CURRENT_USER, PlacementKeyPath().c_str(), 0, nullptr,
                                        REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
    REQUIRE(result == ERROR_SUCCESS, "placement key created by the host");
    return key;
}
}  // namespace

void WritePlacementText(const std::string& name, const std::string& text)
{
    HKEY key = CreatePlacementKey();
    RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    RegCloseKey(key);
}

void WritePlacementDword(const std::string& name, DWORD value)
{
    HKEY key = CreatePlacementKey();
    RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

void DeletePlacementValue(const std::string& name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, PlacementKeyPath().c_str(), 0, KEY_WRITE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, name.c_str());
        RegCloseKey(key);
    }
}

namespace {
bool DeleteTree(HKEY parent, const std::string& name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, name.c_str(), 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS)
        return true;
    bool emptied = true;
    for (;;) {
        char child[256];
        DWORD length = sizeof child;
        if (RegEnumKeyExA(key, 0, child, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        if (!DeleteTree(key, child)) {
            emptied = false;
            break;
        }
    }
    RegCloseKey(key);
    return emptied && RegDeleteKeyA(parent, name.c_str()) == ERROR_SUCCESS;
}
}  // namespace

void DeleteHostKey(const std::string& exeName) { (void)DeleteTree(HKEY_CURRENT_USER, "Software\\" + exeName); }

std::string ScreenSuffix()
{
    return "(" + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "x" + std::to_string(GetSystemMetrics(SM_CYSCREEN)) +
           ")";
}

}  // namespace host
