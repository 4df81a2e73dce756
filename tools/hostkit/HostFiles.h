// Whole files read and written byte for byte, as a host handles its member
// file and its logs, and paths that a Unix build (CTest, shell scripts)
// hands to a program running under Wine.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace hostkit {

// None when there is no such file (a folder is none either) or it cannot be
// read.
std::optional<std::string> ReadFileBytes(const std::string& path);
// Creates or replaces the file; false when it cannot be written completely.
bool WriteFileBytes(const std::string& path, std::string_view bytes);
// A file or a folder of that name exists.
bool PathExists(const std::string& path);

// "/work/x/y.dll" as Wine's Z: drive, which maps the Unix root, names it
// ("Z:\work\x\y.dll"); other paths get backslashes only.
std::string WindowsPath(std::string path);
// WindowsPath made absolute against the current folder, for a path handed
// on to a process that runs from another folder.
std::string AbsoluteWindowsPath(const std::string& path);

}  // namespace hostkit
