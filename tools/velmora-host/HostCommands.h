// velmora-host's commands, each over a host that has loaded the plug-in and
// holds the log (the log table itself starts empty).
#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "logfiles/LogRow.h"
#include "velmora-host/HostOptions.h"
#include "hostkit/HostSession.h"
#include "hostkit/MessageBoxCatcher.h"

struct THostContext {
    const THostOptions& Options;
    // The log file's contacts in the file's order (none without a LOG).
    const std::vector<TLogRow>& Rows;
    std::ostream& Out;
    std::ostream& Err;
};

int ScoreLog(hostkit::THostSession& host, const THostContext& context);
int ReplayLog(hostkit::THostSession& host, const THostContext& context);
int RunInteractive(hostkit::THostSession& host, const THostContext& context, std::istream& in);

// Saves the window's picture when --screenshot asks for one; false (with the
// reason on Err) when it cannot be saved.
bool SaveScreenshotIfAsked(const hostkit::THostSession& host, const THostContext& context);

// "plug-in message: TEXT", the lines of a text of several joined by " / ".
std::string PluginMessageLine(const hostkit::TCaughtBox& box);

// The whole program: `args` without the program's name. Results go to
// `out`, progress and problems to `err`; interactive reads `in`.
int RunHost(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

// Why CALL BAND MODE typed at the interactive prompt is not a contact; none
// when it is one.
std::optional<std::string> ContactProblem(const std::string& call, const std::string& band, const std::string& mode);

// "duplicate" for -1, else the number.
std::string VerdictText(int result);
