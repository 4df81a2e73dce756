// Reads CSV and TSV logs whose header row names the log columns directly.
//
// - The header row's names are matched to the log columns ignoring letter
//   case and surrounding blanks; unknown names are ignored, a repeated name
//   serves from its first column, and CallSign is required. A column the
//   header does not name is NULL in every row.
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

#include <string_view>

#include "logfiles/LogReadResult.h"

// The delimiter the header line (the text up to its first line break) uses.
char DetectDelimiter(std::string_view text);

TLogReadResult ReadDelimited(std::string_view text);
