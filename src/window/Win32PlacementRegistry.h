// The placement store's registry on Windows: text values under
// HKEY_CURRENT_USER\Software\<host executable name>.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include "window/PlacementRegistry.h"
#include "window/Win32Handles.h"

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
