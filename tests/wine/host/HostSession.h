// Everything one case needs to act as the host: the log database and its
// connection, the loaded plug-in, the message-box catcher, the host's own
// window and the recorder of the plug-in's registry writes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "HostLog.h"
#include "HostRecord.h"
#include "HostWindows.h"
#include "MessageBoxCatcher.h"
#include "PluginLibrary.h"
#include "RegistryWriteRecorder.h"

namespace host {

inline constexpr char kLogTable[] = "Log";

class THostSession {
public:
    // The log table "Log" with the standard columns and no rows, and the
    // plug-in loaded.
    THostSession();
    // Unloads the plug-in; any message box nobody took is a failure.
    ~THostSession();
    THostSession(const THostSession&) = delete;
    THostSession& operator=(const THostSession&) = delete;

    // A record for table "Log", caption prefix "Main", the session's
    // connection and no contact.
    THostRecord Record() const;
    THostRecord Contact(const std::string& call, const std::string& band, const std::string& mode,
                        const std::string& exchange = "") const;

    // _Run with Record(); the handle is kept in Window.
    HWND Run();
    std::int32_t Add(const std::string& call, const std::string& band, const std::string& mode,
                     const std::string& exchange = "") const;
    std::int32_t Preview(const std::string& call, const std::string& band, const std::string& mode,
                         const std::string& exchange = "") const;
    std::string Grab(const std::string& call) const;
    std::string Report() const { return ReportText(Window); }

    TPlugin& Plugin() { return *Plugin_; }
    TRegistryWriteRecorder& Writes() { return *Writes_; }
    // FreeLibrary, then LoadLibrary again: a fresh plug-in.
    void Unload();
    void Reload();

    TMessageBoxCatcher Boxes;
    THostActions Actions;
    THostLog Log;
    hostado::TLogTable& Table;
    HWND Window = nullptr;

private:
    std::unique_ptr<TPlugin> Plugin_;
    std::unique_ptr<TRegistryWriteRecorder> Writes_;
};

}  // namespace host
