// The results table of a whole contest: one line per log, sorted by the
// claimed score the plug-in's rules give, with what each log claims for
// itself beside it.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "logfiles/LogReadResult.h"

struct TScoreLine {
    // The log's station (Cabrillo CALLSIGN, ADIF station call or operator),
    // else the file's name without its folder.
    std::string Station;
    std::string File;
    // Contacts counted (duplicates left out), their points and the member
    // numbers counted, all bands added up.
    std::int64_t Contacts = 0;
    std::int64_t Points = 0;
    std::int64_t Members = 0;
    // Points times members.
    std::int64_t Score = 0;
    // The CLAIMED-SCORE the log states, if it states one.
    std::optional<std::int64_t> StatedScore;
    std::size_t Warnings = 0;

    bool StatedScoreDiffers() const { return StatedScore && *StatedScore != Score; }
};

// Scores one log that was read.
TScoreLine ScoreLineOf(const std::string& file, const TLogReadResult& log);

// Highest score first; equal scores by station, then by file.
void SortScoreLines(std::vector<TScoreLine>& lines);

// A log that could not be read, for the JSON form.
struct TUnreadLog {
    std::string File;
    std::string Error;
};

// Text: aligned columns, a "*" after a stated score that differs, and a
// closing line explaining the mark when any line has it.
void WriteScoreTableText(std::ostream& out, const std::vector<TScoreLine>& lines);
// CSV (RFC 4180, CR LF line ends, UTF-8):
//   station,file,contacts,points,members,score,stated_score,differs,warnings
// stated_score is empty when the log states none; differs is "yes" or "no".
void WriteScoreTableCsv(std::ostream& out, const std::vector<TScoreLine>& lines);
// JSON: {"logs": [{"station", "file", "contacts", "points", "members",
// "score", "stated_score" (null when none), "differs", "warnings"}, ...],
// "warnings": total, "unreadable": [{"file", "error"}, ...]}.
void WriteScoreTableJson(std::ostream& out, const std::vector<TScoreLine>& lines,
                         const std::vector<TUnreadLog>& unreadable);
