// Writing a simulated contest out: the logs as Cabrillo 3.0, the member
// file, and the truth in the checker's own formats.
#pragma once

#include <string>
#include <vector>

#include "contest-sim/SimContest.h"
#include "contest-sim/SimTruth.h"

// The log's file name: its call with "/" as "-", then ".log".
std::string LogFileName(const std::string& call);

// The whole Cabrillo text of one log.
std::string CabrilloText(const TSimContest& contest, const TSimLog& log);

// "CALL=VCnn" lines for every member, CR LF line ends.
std::string MemberFileText(const TSimContest& contest);

// The truth, header "log,line,call,band,mode,time,verdict,points,detail".
std::string VerdictsCsvText(const TSimContest& contest, const std::vector<TLogTruth>& truths);

// One row per log, ranked by checked score, in the checker's results.csv columns.
std::string ResultsCsvText(const TSimContest& contest, const std::vector<TLogTruth>& truths);

// Writes FOLDER/logs/*.log, FOLDER/VC.dom, FOLDER/truth/verdicts.csv and
// FOLDER/truth/results.csv. The folder must not exist yet or be empty, so
// nothing already there is ever replaced. False with `error` set on failure.
bool WriteContestFiles(const TSimContest& contest, const std::vector<TLogTruth>& truths, const std::string& folder,
                       std::string& error);
