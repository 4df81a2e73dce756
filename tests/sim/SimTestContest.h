// Small simulated contests the simulator's tests share, and the look-ups
// their checks need.
#pragma once

#include <string>
#include <vector>

#include "contest-sim/SimContest.h"
#include "contest-sim/SimTruth.h"

struct TJudgedContest {
    TSimContest Contest;
    std::vector<TLogTruth> Truths;
};

inline TSimOptions SmallContestOptions(std::uint64_t randomStart)
{
    TSimOptions options;
    options.RandomStart = randomStart;
    options.Logs = 30;
    ParseMinute("2026-03-01T12:00Z", options.From);
    ParseMinute("2026-03-02T12:00Z", options.To);
    return options;
}

// Every fault far more often than in a real contest, so that a small
// contest holds many of each.
inline TSimOptions FaultyContestOptions(std::uint64_t randomStart)
{
    TSimOptions options = SmallContestOptions(randomStart);
    options.MissedCallRate = 0.06;
    options.MissedExchangeRate = 0.06;
    options.NotLoggedRate = 0.06;
    options.ClockOffRate = 0.3;
    options.DupeRate = 0.04;
    options.OutOfPeriodRate = 0.03;
    options.OneTimerRate = 0.03;
    options.XQsoRate = 0.02;
    options.NeighbourShare = 0.1;
    return options;
}

inline TJudgedContest JudgedContest(const TSimOptions& options)
{
    TJudgedContest judged{GenerateContest(options), {}};
    judged.Truths = JudgeContest(judged.Contest);
    return judged;
}
