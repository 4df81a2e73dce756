// The plug-in's placement data as the registry holds it, under
// HKCU\<hostkit::PlacementKeyPath()>.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "hostkit/HostProcess.h"

namespace host {

struct TRegistryValue {
    bool Exists = false;
    DWORD Type = REG_NONE;
    // The text of a REG_SZ value without its terminator.
    std::string Text;
};

TRegistryValue ReadPlacementValue(const std::string& name);
// The value's text when it is a REG_SZ, else a description of what is there,
// so a single CHECK_EQ shows a missing or mistyped value plainly.
std::string PlacementText(const std::string& name);
void WritePlacementText(const std::string& name, const std::string& text);
void WritePlacementDword(const std::string& name, DWORD value);
void DeletePlacementValue(const std::string& name);
// "(<width>x<height>)" of the primary screen, the suffix of the placement
// values written for this screen.
std::string ScreenSuffix();

}  // namespace host
