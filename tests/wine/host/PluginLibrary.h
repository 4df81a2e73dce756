// The plug-in as the cases load it: hostkit's host-side library (loading by
// path, the exports by name and ordinal, calls through the register
// convention), with the DLL named on the command line as the default and a
// plug-in that cannot be loaded ending the case.
#pragma once

#include <string>

#include "hostkit/PluginLibrary.h"

namespace host {

using hostkit::kExports;
using hostkit::TExportName;

// The path of VelmoraCup.dll given on the command line.
const std::string& PluginPath();
void SetPluginPath(std::string path);

class TPlugin : public hostkit::TPlugin {
public:
    // Loads the DLL and resolves every export; records a failed check and
    // ends the case when the DLL or a name is missing.
    explicit TPlugin(const std::string& path = PluginPath());
};

}  // namespace host
