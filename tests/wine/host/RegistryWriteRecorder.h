// Records the registry values the plug-in writes, in the order it writes
// them, by routing its RegSetValueEx imports through the host. The registry
// itself cannot tell the order: Wine lists a key's values by name.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace host {

struct TRecordedWrite {
    std::string Name;
    DWORD Type = REG_NONE;
    std::string Text;  // for text values, without the terminator
};

class TRegistryWriteRecorder {
public:
    // The slots stay routed through the host for the module's life: the
    // recording functions live as long as the process, and a module that is
    // unloaded takes its slots with it, so nothing is ever put back.
    explicit TRegistryWriteRecorder(HMODULE plugin);
    TRegistryWriteRecorder(const TRegistryWriteRecorder&) = delete;
    TRegistryWriteRecorder& operator=(const TRegistryWriteRecorder&) = delete;

    // False when the plug-in imports no RegSetValueEx by name.
    bool Attached() const { return !Patches_.empty(); }
    std::vector<TRecordedWrite> Take();
    // The names only, joined by ", ".
    std::string TakeNames();

private:
    std::vector<void**> Patches_;
};

}  // namespace host
