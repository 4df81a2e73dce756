// What reading a log file gives: every row, or an error that says where the
// text went wrong. Never both: a log that fails anywhere yields no rows, so
// nobody scores half a log by accident.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "logfiles/LogRow.h"

struct TLogReadError {
    std::string What;
    // Counted from the start of the file, 0 for its first byte.
    std::size_t ByteOffset = 0;
    // 1 for the first line; 0 when the error has no place in the text (the
    // file could not be opened at all).
    std::size_t Line = 0;
    // The file's path when the text came from a file; empty otherwise.
    std::string File;

    // "FILE: line L (byte offset B): WHAT", leaving out what is unknown.
    std::string Message() const;
};

struct TLogReadResult {
    std::vector<TLogRow> Rows;
    std::optional<TLogReadError> Error;

    bool Ok() const { return !Error.has_value(); }
};

// The 1-based line that holds byte `offset` of `text` (LF ends a line).
std::size_t LineAt(std::string_view text, std::size_t offset);

// A failed read, with the line worked out from the offset.
TLogReadResult ReadFailure(std::string what, std::string_view text, std::size_t offset);
