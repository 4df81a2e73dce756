// Loading a log file of either kind, chosen by the file's name or, when the
// name says nothing, by its content.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "logfiles/LogReadResult.h"

// ".adi" and ".adif" are ADIF; ".csv", ".tsv" and ".txt" are delimited
// (letter case ignored). Any other name: nullopt.
std::optional<TLogFormat> FormatOfFileName(std::string_view path);

// ADIF when the text holds an "<EOR>" or "<EOH>" tag (any letter case),
// delimited otherwise.
TLogFormat SniffLogFormat(std::string_view text);

TLogReadResult ReadLogText(std::string_view text, TLogFormat format);

// Reads the whole file, in binary so line breaks reach the reader as they
// are. Every error message names the file.
TLogReadResult LoadLogFile(const std::string& path);
