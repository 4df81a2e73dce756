// The host logger as far as the plug-in can tell: a log table in memory
// served through the host's ADO connection, the plug-in loaded from its
// folder, and the six entry points called on this thread with records the
// way a logger fills them. Message boxes the plug-in shows are caught,
// reported and dismissed, so that no run waits for a user.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "hostado/LogDatabase.h"
#include "hostkit/HostDatabase.h"
#include "hostkit/HostRecord.h"
#include "hostkit/MessageBoxCatcher.h"
#include "hostkit/PluginLibrary.h"
#include "logfiles/LogRow.h"

struct THostSettings {
    // The plug-in's DLL.
    std::string PluginPath;
    // The log table's name, which goes into every record.
    std::string Table = "QSOs";
    // The text a logger puts in front of the window's caption.
    std::string CaptionPrefix = "velmora-host";
};

class THostSimulator {
public:
    // Sets up COM, the database with an empty log table and the connection,
    // catches message boxes, and loads the plug-in. Every box caught is
    // handed to `onMessage` as it comes. Throws hostkit::TPluginLoadError or
    // std::runtime_error.
    THostSimulator(const THostSettings& settings, std::function<void(const hostkit::TCaughtBox&)> onMessage);
    // Gives up the window (_Release) and unloads the plug-in, as a logger
    // does when it shuts down.
    ~THostSimulator();
    THostSimulator(const THostSimulator&) = delete;
    THostSimulator& operator=(const THostSimulator&) = delete;

    const hostkit::TPlugin& Plugin() const { return *Plugin_; }
    hostado::TLogTable& Table() { return Table_; }
    // Rows straight into the table, as a log opened in the logger holds them.
    void AddRows(const std::vector<TLogRow>& rows);

    // A record with the connection, the table's name and the caption prefix.
    hostkit::THostRecord Record() const;
    hostkit::THostRecord ContactRecord(const TLogRow& contact) const;

    // _Run: the handle, or null when the plug-in opened no window.
    HWND Run();
    // The window the plug-in last returned, until a close request or
    // _Release lets it go; null then.
    HWND Window() const { return Window_; }
    // _GetScore for the contact being entered.
    std::int32_t Preview(const TLogRow& contact) const;
    // _AddQSO, then the contact goes into the log table, as a logger stores a
    // contact it has just logged.
    std::int32_t Log(const TLogRow& contact);
    // _GrabNumber for a call.
    std::string GrabNumber(const std::string& call) const;
    // Presses "Recalc Statistic". Requires a window.
    void Recalc();
    // The report box's text. Requires a window.
    std::string Report() const;
    // Sends WM_CLOSE to the window, as a logger closes it from outside.
    void CloseWindow();
    // _Release, then the message loop runs the window's deferred destruction.
    void Release();

    // How many message boxes the plug-in has shown.
    std::size_t MessageCount() const { return MessageCount_; }

private:
    THostSettings Settings_;
    hostkit::THostDatabase Database_;
    hostado::TLogTable& Table_;
    hostkit::TMessageBoxCatcher Boxes_;
    std::unique_ptr<hostkit::TPlugin> Plugin_;
    HWND Window_ = nullptr;
    std::size_t MessageCount_ = 0;
};

// "plug-in message: TEXT", the lines of a text of several joined by " / ".
std::string PluginMessageLine(const hostkit::TCaughtBox& box);
