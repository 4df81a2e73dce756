// The placement store's registry on Windows: text values under
// HKEY_CURRENT_USER\Software\<host executable name>.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <utility>

#include "window/PlacementRegistry.h"

// Owns one open registry key and closes it when it goes.
class TScopedRegKey {
public:
    TScopedRegKey() = default;
    explicit TScopedRegKey(HKEY key) : Key_(key) {}
    ~TScopedRegKey() { Reset(); }
    TScopedRegKey(TScopedRegKey&& other) noexcept : Key_(std::exchange(other.Key_, nullptr)) {}
    TScopedRegKey& operator=(TScopedRegKey&&) = delete;
    TScopedRegKey(const TScopedRegKey&) = delete;
    TScopedRegKey& operator=(const TScopedRegKey&) = delete;

    HKEY Get() const { return Key_; }
    // For the Reg* functions that hand out a new key.
    HKEY* Receive()
    {
        Reset();
        return &Key_;
    }
    void Reset()
    {
        if (Key_)
            RegCloseKey(Key_);
        Key_ = nullptr;
    }

private:
    HKEY Key_ = nullptr;
};

// "Software\" and the name of the process's executable: the host's program
// file, not this library, so every host keeps its own placement.
std::string ApplicationKeyOfThisProcess();

class TWin32PlacementRegistry : public TPlacementRegistry {
public:
    TWin32PlacementRegistry();
    // A key path below HKEY_CURRENT_USER.
    explicit TWin32PlacementRegistry(std::string applicationKey);

    const std::string& ApplicationKey() const { return ApplicationKey_; }
    std::unique_ptr<TPlacementKey> OpenApplicationKey() override;

private:
    std::string ApplicationKey_;
};
