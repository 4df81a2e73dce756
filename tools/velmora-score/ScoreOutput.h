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
// JSON: one object, ASCII only; bytes above 127 are taken as ISO 8859-1
// characters and written as \u00NN, so every byte of the log can be had back.
//   {"report": TEXT,
//    "bands": [{"band": TEXT, "qsos": N, "points": N, "members": N}, ...],
//    "totals": {"qsos": N, "points": N, "members": N},
//    "score": N,
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

// A JSON string literal, quotes included.
std::string JsonString(std::string_view text);

void WriteTextResult(std::ostream& out, const std::vector<TLogRow>& rows, const TScoredLog& scored);
void WriteJsonResult(std::ostream& out, const std::vector<TLogRow>& rows, const TScoredLog& scored);
