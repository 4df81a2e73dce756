#include "window/Win32PlacementRegistry.h"

#include <utility>
#include <vector>

#include "window/PlacementNumbers.h"

namespace {

constexpr REGSAM kAccess = KEY_READ | KEY_WRITE;

class TWin32PlacementKey : public TPlacementKey {
public:
    explicit TWin32PlacementKey(TScopedRegKey key) : Key_(std::move(key)) {}

    std::unique_ptr<TPlacementKey> OpenSubKeyForReading(const std::string& name) override
    {
        TScopedRegKey subKey;
        if (RegOpenKeyExA(Key_.Get(), name.c_str(), 0, KEY_READ, subKey.Receive()) != ERROR_SUCCESS)
            return nullptr;
        return std::make_unique<TWin32PlacementKey>(std::move(subKey));
    }

    std::unique_ptr<TPlacementKey> CreateSubKey(const std::string& name) override
    {
        TScopedRegKey subKey;
        if (RegCreateKeyExA(Key_.Get(), name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, kAccess,
                            nullptr, subKey.Receive(), nullptr) != ERROR_SUCCESS)
            return nullptr;
        return std::make_unique<TWin32PlacementKey>(std::move(subKey));
    }

    TRegistryTextRead ReadText(const std::string& name) override
    {
        DWORD type = 0;
        DWORD size = 0;
        LONG result = RegQueryValueExA(Key_.Get(), name.c_str(), nullptr, &type, nullptr, &size);
        if (result == ERROR_FILE_NOT_FOUND)
            return {TRegistryReadStatus::Missing, {}};
        if (result != ERROR_SUCCESS)
            return {TRegistryReadStatus::Failed, {}};
        // An expandable text is taken as it stands: the store never writes
        // one, and a hand-made one keeps its variables unexpanded.
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            return {TRegistryReadStatus::WrongType, {}};

        // The value may grow between the two calls; ask again until it fits.
        std::vector<char> data;
        do {
            data.resize(size + 1);
            size = static_cast<DWORD>(data.size());
            result = RegQueryValueExA(Key_.Get(), name.c_str(), nullptr, &type,
                                      reinterpret_cast<BYTE*>(data.data()), &size);
        } while (result == ERROR_MORE_DATA);
        if (result != ERROR_SUCCESS)
            return {TRegistryReadStatus::Failed, {}};
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            return {TRegistryReadStatus::WrongType, {}};

        // The stored terminator, if any, is no part of the text, nor is
        // anything after a first NUL.
        std::string text(data.data(), size);
        const std::size_t end = text.find('\0');
        if (end != std::string::npos)
            text.resize(end);
        return {TRegistryReadStatus::Text, std::move(text)};
    }

    bool WriteText(const std::string& name, const std::string& text) override
    {
        return RegSetValueExA(Key_.Get(), name.c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>(text.size()) + 1) == ERROR_SUCCESS;
    }

private:
    TScopedRegKey Key_;
};

}  // namespace

std::string ApplicationKeyOfThisProcess()
{
    // Paths may be longer than MAX_PATH; a full buffer means cut short.
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size())
            return ApplicationKeyFromExecutable(std::string_view(path.data(), length));
        path.resize(path.size() * 2);
    }
}

TWin32PlacementRegistry::TWin32PlacementRegistry() : ApplicationKey_(ApplicationKeyOfThisProcess())
{
}

TWin32PlacementRegistry::TWin32PlacementRegistry(std::string applicationKey)
    : ApplicationKey_(std::move(applicationKey))
{
}

std::unique_ptr<TPlacementKey> TWin32PlacementRegistry::OpenApplicationKey()
{
    TScopedRegKey key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, ApplicationKey_.c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, kAccess, nullptr, key.Receive(),
                        nullptr) != ERROR_SUCCESS)
        return nullptr;
    return std::make_unique<TWin32PlacementKey>(std::move(key));
}
