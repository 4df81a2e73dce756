// The member file: one "CALL=NUMBER" per line, read once per window, and the
// look-up of a station's member number in it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

using TMemberList = std::vector<std::string>;

// Splits the file's bytes into lines at CR, LF or CR LF. A NUL byte ends the
// text; a final line break adds no empty line. Bytes are kept as they are
// (a byte-order mark stays in the first line).
TMemberList SplitMemberLines(std::string_view bytes);

// The number of `call` in the list: at most 5 characters, empty when no line
// matches. Every line is visited and a later match wins, even an empty one.
std::string FindMemberNumber(const TMemberList& memberList, std::string_view call);

// Reads the member file at `path`. A missing file, or a folder of that name,
// gives an empty list; a file that exists but cannot be read throws
// std::runtime_error "Cannot open file <path>".
TMemberList LoadMemberFile(const std::string& path);

// The file's name, relative to the folder of the host's executable.
inline constexpr std::string_view kMemberFileRelativePath = "Plugins\\VC.dom";
