// The reporting stage: every output file of a run, each written under a
// temporary name in the output folder and renamed into place only when it is
// whole, so a run that dies leaves the previous results as they were.
#pragma once

#include <ostream>
#include <string>

#include "velmora-check/CheckTypes.h"

// Writes verdicts.csv, results.txt, results.csv, results.json, one
// <CALL>.txt per log and results.html into run.Options.OutFolder (made when
// missing). Returns false, with a message on `err`, when a file could not be
// written; the files already renamed into place stay.
bool WriteReports(const TCheckRun& run, std::ostream& err);

// Each output as text, for the tests.
std::string VerdictsCsvText(const TCheckRun& run);
std::string ResultsCsvText(const TCheckRun& run);
std::string ResultsJsonText(const TCheckRun& run);
std::string ResultsText(const TCheckRun& run);
std::string LogReportText(const TCheckRun& run, const TCheckLog& log);
// The whole results page: no script, no external reference.
std::string ResultsPageHtml(const TCheckRun& run);
