// What is wrong with a plug-in file the system would not load, in the
// user's terms: a missing file, a file that is no Windows program at all, a
// 64-bit one, a program rather than a library.
#pragma once

#include <optional>
#include <string>

// Why the file at `path` cannot be a 32-bit Windows DLL, judged from its
// headers; none when it looks like one (then the system's reason for not
// loading it lies elsewhere, say a library it needs).
std::optional<std::string> PluginFileProblem(const std::string& path);

// The message for a plug-in that failed to load with `loadError` (the host
// kit's text, which carries the system's reason).
std::string PluginLoadMessage(const std::string& path, const std::string& loadError);
