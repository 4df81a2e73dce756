// The reading stage: every log file of the run loaded on --jobs threads and
// kept in the check's own compact form. A log that cannot be read is left
// out with its reason; it never stops the others.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "velmora-check/CheckTypes.h"

// Files larger than this are refused unread: no contest log comes near it,
// and a hostile one must not exhaust the memory the other logs need.
inline constexpr std::uintmax_t kLargestLogFile = std::uintmax_t{256} * 1024 * 1024;

// The files to read: a file named on the command line is read whatever its
// name; a folder gives the files directly inside it whose names end in .log,
// .cbr, .cabrillo, .adi, .adif, .csv, .tsv or .txt (hidden files and
// sub-folders left alone), in the order of their names. Inputs that do not
// exist are left out with their reason.
std::vector<std::string> ListLogFiles(const std::vector<std::string>& inputs, std::vector<TLeftOutLog>& leftOut);

// Called now and then from the reading thread with the files read so far.
using TReadProgress = std::function<void(std::size_t done, std::size_t total)>;

// Loads every file into run.Logs, in the order of `files`; failures go to
// run.LeftOut. A second log from a station that already sent one is left out.
void ReadLogs(TCheckRun& run, const std::vector<std::string>& files, unsigned jobs, const TReadProgress& progress);

// One read log turned into the check's form, or the reason it cannot be
// checked. Exposed for the tests and the fuzz target, which have no files.
struct TLogReadResult;
bool KeepReadLog(const std::string& file, const TLogReadResult& read, TCheckLog& log, std::string& reason);
