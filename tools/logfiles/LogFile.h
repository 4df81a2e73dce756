// Loading a log file: the content decides which reader reads it, the file's
// name only settles what the content leaves open.
#pragma once

#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "logfiles/LogReadResult.h"

// ".adi" and ".adif" are ADIF; ".csv", ".tsv" and ".txt" are delimited;
// ".cbr" is Cabrillo (letter case ignored). Any other name: nullopt.
std::optional<TLogFormat> FormatOfFileName(std::string_view path);

// The format the text shows, tried in this order:
// - Cabrillo when its first line that is not blank starts with
//   "START-OF-LOG:";
// - ADIF when it holds an "<EOR>" or "<EOH>" tag;
// - Cabrillo when a line starts with "QSO:" or "X-QSO:";
// - delimited when a cell of its first line that is not blank names a log
//   column (or an alias, see DelimitedReader.h);
// - ADIF when `nameHint` is ADIF and the text holds a field tag
//   ("<CALL:5>"), so that the ADIF reader says what is wrong with it;
// - delimited when `nameHint` is delimited (a ".csv" or ".tsv").
// Letter case is ignored throughout. nullopt: the text is none of them.
std::optional<TLogFormat> DetectLogFormat(std::string_view text, std::optional<TLogFormat> nameHint = std::nullopt);

// DetectLogFormat's answer, delimited when it has none.
TLogFormat SniffLogFormat(std::string_view text);

// Reads the text with the reader of `format`.
TLogReadResult ReadLogText(std::string_view text, TLogFormat format);

// Reads the text in the format its content shows (see DetectLogFormat). An
// empty text, a text the name calls ADIF holding no ADIF tag, and a text of
// no format are errors.
TLogReadResult ReadLogTextOfAnyFormat(std::string_view text, std::optional<TLogFormat> nameHint = std::nullopt);

// The name standard input goes by in messages.
inline constexpr std::string_view kStandardInputName = "standard input";

// Reads the whole file ("-" is standard input), in binary so line breaks
// reach the reader as they are, and reads it as ReadLogTextOfAnyFormat does
// with the name's format as the hint. Every error and warning names the
// file.
TLogReadResult LoadLogFile(const std::string& path);

// The same for a stream already open; `name` goes into the messages.
TLogReadResult LoadLogStream(std::istream& in, const std::string& name);

// Whether a file of this name is taken for a log when a folder is given:
// .log, .cbr, .cabrillo, .adi, .adif, .csv, .tsv or .txt (letter case
// ignored). A file named on its own is read whatever its name.
bool HasLogFileName(std::string_view path);

// The log files directly inside `folder` (see HasLogFileName; hidden files
// and sub-folders left alone), in the order of their names, each written as
// the folder was given, a '/' and the name, so the same text on every
// system. nullopt with `why` set when the folder cannot be listed.
std::optional<std::vector<std::string>> LogFilesOfFolder(const std::string& folder, std::string& why);
