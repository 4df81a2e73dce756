// velmora-host's command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

inline constexpr int kExitOk = 0;
inline constexpr int kExitUnreadableLog = 1;
inline constexpr int kExitUsage = 2;
// The plug-in could not be loaded or opened no window, or the host could not
// set itself up (member file, picture, COM).
inline constexpr int kExitHostFailure = 3;
// The plug-in showed an error message, or its rebuild disagrees with what
// live logging gave.
inline constexpr int kExitPluginTrouble = 4;

enum class THostCommand { Score, Replay, Interactive };

struct THostOptions {
    THostCommand Command = THostCommand::Score;
    // Required by score and replay; optional for interactive.
    std::optional<std::string> LogPath;
    std::optional<std::string> PluginPath;
    std::optional<std::string> MembersPath;
    std::optional<std::string> ScreenshotPath;
    std::string Table = "QSOs";
};

struct THostCommandLine {
    bool Help = false;
    bool Version = false;
    // Set when the command line is usable (and Help is false).
    std::optional<THostOptions> Options;
    // Why it is not, otherwise.
    std::string Error;
};

THostCommandLine ParseHostCommandLine(const std::vector<std::string>& args);

std::string HostUsageText();
// "velmora-host VERSION" and a line break.
std::string HostVersionText();
