// The two forms of velmora-score's result.
//
// Text: the report byte for byte (its lines joined by CR LF, as the window
// holds them), LF, then one line per contact in the log's order, ended by LF:
//   ROW <TAB> CALL <TAB> BAND <TAB> MODE <TAB> VERDICT <TAB> MEMBER
// ROW counts the log's contacts from 1; VERDICT is the points (1 or 3) or
// "duplicate"; MEMBER is the member number counted on this contact, or
// nothing. A NULL text is written as nothing; control characters and "\" in
// a text are written as "\xNN" and "\\" so a contact stays on one line.
//
// JSON: one object in UTF-8: text that is valid UTF-8 stays that text, any
// other byte is taken as a Windows-1252 character (TextEncoding.h).
//   {"report": TEXT,
//    "bands": [{"band": TEXT, "qsos": N, "points": N, "members": N}, ...],
//    "totals": {"qsos": N, "points": N, "members": N},
//    "score": N,
//    "warnings": N (how many warnings reading the log gave),
//    "contacts": [{"row": N, "call": TEXT|null, "band": TEXT|null,
//                  "mode": TEXT|null, "exchange": TEXT|null,
//                  "duplicate": BOOL, "points": N, "member": TEXT|null}, ...]}
// "points" is 0 for a duplicate.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "logfiles/LogRow.h"
#include "velmora-score/ScoreLog.h"

// A log text for a tab-separated line: controls as \xNN, "\" as "\\".
std::string EscapedField(std::string_view text);

// A JSON string literal, quotes included, the text made UTF-8 first.
std::string JsonString(std::string_view text);

void WriteTextResult(std::ostream& out, const std::vector<TLogRow>& rows, const TScoredLog& scored);
void WriteJsonResult(std::ostream& out, const std::vector<TLogRow>& rows, const TScoredLog& scored,
                     std::size_t warnings);
