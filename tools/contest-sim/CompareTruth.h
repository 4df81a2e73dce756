// Holding a checker's verdicts.csv and results.csv against the simulator's
// truth: per verdict how much of what the checker said is right (precision)
// and how much of the truth it found (recall), and whether every log's
// checked score is the true one.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "contest-sim/CsvTable.h"

struct TVerdictAgreement {
    std::string Verdict;
    std::size_t InTruth = 0;
    std::size_t FromChecker = 0;
    std::size_t Agreed = 0;
    // 1 when there is nothing to be wrong about.
    double Precision() const { return FromChecker == 0 ? (InTruth == 0 ? 1.0 : 0.0) : double(Agreed) / double(FromChecker); }
    double Recall() const { return InTruth == 0 ? (FromChecker == 0 ? 1.0 : 0.0) : double(Agreed) / double(InTruth); }
};

struct TTruthComparison {
    std::vector<TVerdictAgreement> Verdicts;  // the nine, in precedence order, then any other the checker used
    std::size_t Lines = 0;             // lines in the truth
    std::size_t MissingLines = 0;      // in the truth, not in the checker's verdicts
    std::size_t UnexpectedLines = 0;   // in the checker's verdicts, not in the truth
    // Lines with the same verdict whose call, band, mode, time or points differ.
    std::size_t FieldDifferences = 0;
    std::size_t LogsCompared = 0;
    std::size_t ScoresEqual = 0;
    // "log line: truth X, checker Y (detail)", every line the two disagree on.
    std::vector<std::string> Disagreements;
    // "CALL: truth N, checker M", every log whose checked score differs or is missing.
    std::vector<std::string> ScoreDifferences;
    // Logs whose reported clock offset is within a minute of the true one;
    // the offset is measured, not known, so this is reported, not required.
    std::size_t ClockOffsetsClose = 0;
    std::vector<std::string> ClockOffsetDifferences;
};

// Errors (a column missing, a row unreadable) go to `error` with the file's
// role ("truth verdicts.csv: ...").
bool CompareWithTruth(const TCsvTable& truthVerdicts, const TCsvTable& truthResults, const TCsvTable& checkVerdicts,
                      const TCsvTable& checkResults, TTruthComparison& comparison, std::string& error);

// Every verdict at least `least` in precision and recall, every line
// compared with its other columns equal, and every checked score equal.
bool MeetsGoals(const TTruthComparison& comparison, double least);

// The per-verdict table, the score line and the first `shown` disagreements.
void PrintComparison(const TTruthComparison& comparison, std::size_t shown, std::ostream& out);
