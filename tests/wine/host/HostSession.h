// One case's host: hostkit's session over the DLL named on the command line,
// with the log table "Log", and beside it what a case examines: the host's
// own window, through which it runs code inside the plug-in's message
// passes, and the recorder of the plug-in's registry writes.
#pragma once

#include <memory>
#include <string>

#include "HostLog.h"
#include "HostRecord.h"
#include "HostWindows.h"
#include "RegistryWriteRecorder.h"
#include "hostkit/HostSession.h"

namespace host {

inline constexpr char kLogTable[] = "Log";

// The path of VelmoraCup.dll given on the command line.
const std::string& PluginPath();
void SetPluginPath(std::string path);

class TCaseSession : public hostkit::THostSession {
public:
    // The table "Log" with the standard columns and no rows, and the plug-in
    // loaded; a plug-in that cannot be loaded is a failed check and ends the
    // case.
    TCaseSession();
    // Unloads the plug-in; any message box nobody took is a failure.
    ~TCaseSession();
    TCaseSession(const TCaseSession&) = delete;
    TCaseSession& operator=(const TCaseSession&) = delete;

    TRegistryWriteRecorder& Writes() { return *Writes_; }
    // FreeLibrary, then LoadLibrary again: a fresh plug-in, and a recorder
    // of its writes. The recorder stays across Unload: what the plug-in
    // writes while unloading counts.
    void Reload();

    THostActions Actions;

private:
    std::unique_ptr<TRegistryWriteRecorder> Writes_;
};

}  // namespace host
