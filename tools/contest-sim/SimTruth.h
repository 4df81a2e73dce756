// What a perfect checker finds in the simulated logs: one verdict per line
// and every log's score before and after checking. The simulator knows which
// lines record the same contact; everything else is judged only from what
// the logs and the member file show, as a checker must.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "contest-sim/SimContest.h"

// In the order of precedence: where several apply, the first wins.
enum class TVerdict : std::uint8_t { XQso, OutOfPeriod, Dupe, BustedCall, Nil, BustedExchange, Unique, NoLog, Ok };
inline constexpr std::size_t kVerdictCount = 9;
inline constexpr std::array<std::string_view, kVerdictCount> kVerdictNames = {
    "x-qso", "out-of-period", "dupe", "busted-call", "nil", "busted-exchange", "unique", "no-log", "ok"};

std::string_view VerdictName(TVerdict verdict);
// True for the verdicts whose contacts keep their points.
bool KeepsCredit(TVerdict verdict);

struct TLineTruth {
    TVerdict Verdict = TVerdict::Ok;
    std::string Detail;
    // As counted after checking: the plug-in's points for a contact that
    // keeps credit, 0 otherwise.
    std::int32_t Points = 0;
};

struct TLogTruth {
    std::vector<TLineTruth> Lines;  // one per entry, in the log's order
    std::size_t ClaimedContacts = 0;  // the lines that are not X-QSO
    std::size_t CheckedContacts = 0;  // the lines that keep credit
    std::int64_t ClaimedScore = 0;
    std::int64_t CheckedScore = 0;
    std::array<std::size_t, kVerdictCount> Counts{};
};

// Judges every line; also sets each log's ClaimedScore, which its header states.
std::vector<TLogTruth> JudgeContest(TSimContest& contest);

// Total points times total member counts, by the plug-in's rules, of the
// rows (call, band, mode, received exchange); `points` gets each row's
// points (or -1 for a duplicate) when not null.
struct TScoredRow {
    std::string Call;
    std::string Band;
    std::string Mode;
    std::string Received;
};
std::int64_t ScoreByPluginRules(const std::vector<TScoredRow>& rows, std::vector<std::int32_t>* points = nullptr);
