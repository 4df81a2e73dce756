// The scoring stage: every log scored by the plug-in's own rules, exactly as
// velmora-score scores a log file (rows in the host database's order of
// calls): once as submitted, once over the contacts that keep their credit.
#pragma once

#include "velmora-check/CheckTypes.h"

// Fills ClaimedResult and RepeatKey of every contact and each log's ClaimedScore and
// ClaimedContacts, on up to `jobs` threads.
void ScoreClaimed(TCheckRun& run, unsigned jobs);

// Needs the verdicts. Fills CheckedPoints, CheckedScore, CheckedContacts and
// the counts of verdicts. A contact lost to a copying error costs the
// penalty times its points.
void ScoreChecked(TCheckRun& run, unsigned jobs);
