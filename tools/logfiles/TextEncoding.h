// Texts from log files are bytes in no declared encoding. Where they go into
// a format that must be UTF-8 (JSON, HTML), valid UTF-8 is kept as it is and
// any other byte is taken as Windows-1252, the encoding of most old logs.
#pragma once

#include <string>
#include <string_view>

std::string Utf8OfLogText(std::string_view text);
