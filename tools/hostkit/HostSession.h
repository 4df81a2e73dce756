// One host session: what any program acting as the host logger holds while
// it drives the plug-in. COM and the log database behind the ADO connection,
// the catcher of the plug-in's message boxes, the plug-in loaded by path, and
// the window _Run last returned; the six entry points called on this thread
// with records filled the way a logger fills them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "hostado/LogDatabase.h"
#include "hostkit/HostDatabase.h"
#include "hostkit/HostRecord.h"
#include "hostkit/MessageBoxCatcher.h"
#include "hostkit/PluginLibrary.h"
#include "logfiles/LogRow.h"

namespace hostkit {

struct TSessionSettings {
    // The plug-in's DLL.
    std::string PluginPath;
    // The log table's name, which goes into every record.
    std::string Table = "QSOs";
    // The text a logger puts in front of the window's caption.
    std::string CaptionPrefix = "Main";
    // Give the window up (_Release) before unloading the plug-in at the end,
    // as a logger does when it shuts down.
    bool ReleaseAtShutdown = false;
};

class THostSession {
public:
    // COM, the database with an empty log table in the standard columns, the
    // message-box catcher, and the plug-in loaded. Throws TPluginLoadError or
    // std::runtime_error.
    explicit THostSession(TSessionSettings settings);
    // _Release when the settings ask for it, then FreeLibrary, then one turn
    // of the message loop for whatever the unloading posted.
    ~THostSession();
    THostSession(const THostSession&) = delete;
    THostSession& operator=(const THostSession&) = delete;

    // A record with the connection, the table's name and the caption prefix,
    // and no contact.
    THostRecord Record() const;
    THostRecord Contact(const std::string& call, const std::string& band, const std::string& mode,
                        const std::string& exchange = "") const;
    THostRecord Contact(const TLogRow& contact) const;

    // Rows straight into the table, as a log opened in the logger holds them.
    void AddRow(const std::string& call, const std::string& band, const std::string& mode,
                const std::string& exchange);
    void AddRows(const std::vector<TLogRow>& rows);

    // _Run with Record(); the handle (null when no window opened) is kept in
    // Window. No message is dispatched here.
    HWND Run();
    // _AddQSO and _GetScore for a contact, _GrabNumber for a call.
    std::int32_t Add(const std::string& call, const std::string& band, const std::string& mode,
                     const std::string& exchange = "") const;
    std::int32_t Preview(const std::string& call, const std::string& band, const std::string& mode,
                         const std::string& exchange = "") const;
    std::int32_t Preview(const TLogRow& contact) const;
    std::string Grab(const std::string& call) const;
    // _AddQSO, then the contact goes into the log table, as a logger stores a
    // contact it has just logged.
    std::int32_t Log(const TLogRow& contact);
    // The report box's text of Window; throws std::runtime_error without one.
    std::string Report() const;
    // Presses "Recalc Statistic" in Window and lets the message loop turn;
    // throws std::logic_error when there is no window.
    void Recalc();
    // Sends WM_CLOSE to Window, as a logger closes it from outside, and lets
    // the window go.
    void CloseWindow();
    // _Release, then the message loop runs the window's deferred destruction.
    void Release();

    TPlugin& Plugin() { return *Plugin_; }
    const TPlugin& Plugin() const { return *Plugin_; }
    // FreeLibrary now; the loaded library's object stays until Reload.
    void Unload();
    // A fresh plug-in: the old one unloaded, the DLL loaded again.
    void Reload();

    // Declared in this order so that the plug-in goes first (its window's
    // destruction may still show a box), then the catcher, then COM.
    THostDatabase Database;
    hostado::TLogTable& Table;
    TMessageBoxCatcher Boxes;
    HWND Window = nullptr;

private:
    TSessionSettings Settings_;
    std::unique_ptr<TPlugin> Plugin_;
};

}  // namespace hostkit
