// Reads CSV and TSV logs whose header row names the log columns.
//
// - The header row's names are matched to the log columns ignoring letter
//   case and surrounding blanks, and so are the usual short names: "call"
//   for CallSign, "band" for DigiBand, "mode" for QSOMode, "rcvd" and
//   "exchange" for QSOReportRecived. A "freq" or "frequency" column gives
//   the band of a row whose band cell is empty or that has no band column:
//   a number with a decimal point, or under 1000, is in MHz; a whole number
//   of 1000 or more is in kHz when that lies in a band, else in MHz ("14025"
//   is 20 m, "1296" is 23 cm); a unit may follow ("14.025 MHz").
// - CallSign is required. Columns of any other name, and a repeated name
//   after its first column, are ignored, and a warning names them. A column
//   the header does not name is NULL in every row.
// - Band cells are written in the one band naming (BandNames.h); a band
//   text that names no band is kept as written, with a warning.
// - A row whose call is empty is skipped, with a warning and its line.
// - The delimiter is the header's: tab if the header line holds one, else
//   comma, else semicolon, else comma (a single column).
// - Quoting as in RFC 4180: a cell that starts with '"' runs to the next lone
//   '"', a doubled '"' inside it stands for one, and delimiters and line
//   breaks inside it are text. After the closing quote the cell must end. A
//   '"' inside an unquoted cell is an ordinary character.
// - Rows end at LF or CR LF. A line with nothing on it is skipped. Cells are
//   kept byte for byte, not trimmed; an empty cell is the empty text.
// - A UTF-8 byte-order mark at the very start is skipped.
// - Errors, each with its place: a missing header, a header without
//   CallSign, a row with another number of cells than the header, a quote
//   that is never closed, text after a closing quote.
#pragma once

#include <optional>
#include <string_view>

#include "logfiles/LogReadResult.h"

// The delimiter the header line (the text up to its first line break) uses.
char DetectDelimiter(std::string_view text);

// What a header cell names: a log column, or the frequency.
struct THeaderColumn {
    std::optional<TLogColumn> Column;
    bool IsFrequency = false;
};

// The log column or frequency a header name stands for (letter case and
// surrounding blanks ignored), nullopt for any other name.
std::optional<THeaderColumn> FindHeaderColumn(std::string_view name);

// The band of a CSV frequency cell, as described above.
std::optional<std::string> BandOfFrequencyCell(std::string_view cell);

TLogReadResult ReadDelimited(std::string_view text);
