// The pure text rules of the reports: every text that comes from an
// entrant's file is made safe for the place it goes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "velmora-check/CheckTypes.h"

// One CSV field: quoted when it holds a comma, quote or line break; a field
// that starts with = + - @ (or a tab or carriage return) gets a leading
// apostrophe first, so no spreadsheet runs it as a formula.
std::string CsvField(std::string_view text);
// The same field added to the end of `out`.
void AppendCsvField(std::string& out, std::string_view text);

// Text for HTML content or a quoted attribute, in UTF-8.
std::string HtmlText(std::string_view text);

// A file name made of a call: letters and digits kept (upper-cased), any
// other character a '-'; never empty, never a path.
std::string FileStemOfCall(std::string_view call);

// "0.0123": the share of claimed contacts lost to copying errors.
std::string ErrorRateText(const TCheckLog& log);
double ErrorRate(const TCheckLog& log);

// The clock offset as reported: whole minutes, 0 when within a minute.
std::int32_t ReportedClockOffset(const TCheckLog& log);

// The logs in the order of the results: checked score, highest first, then
// claimed score, then call.
std::vector<const TCheckLog*> RankedLogs(const TCheckRun& run);

// A contact written back as the log's line would read.
std::string ContactLineText(const TCheckLog& log, const TCheckContact& contact);
