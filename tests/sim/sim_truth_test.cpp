// The simulator's truth holds together: every verdict has the evidence in
// the logs that its definition asks for, and the scores follow the plug-in's
// rules from the verdicts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <set>

#include "contest-sim/SimCalls.h"
#include "contest-sim/SimFiles.h"
#include "tests/sim/SimTestContest.h"

namespace {

// What the logs show, looked up by call.
class TLogIndex {
public:
    explicit TLogIndex(const TSimContest& contest) : Contest(contest)
    {
        for (std::size_t log = 0; log < contest.Logs.size(); ++log) {
            LogOfCall[StationCall(log)] = log;
            for (const TSimEntry& entry : contest.Logs[log].Entries)
                if (!entry.XQso)
                    LogsHolding[entry.Call].insert(log);
        }
    }

    const std::string& StationCall(std::size_t log) const { return Contest.Stations[Contest.Logs[log].Station].Call; }
    const TSimStation& Station(std::size_t log) const { return Contest.Stations[Contest.Logs[log].Station]; }

    const TSimLog* LogOf(const std::string& call) const
    {
        const auto found = LogOfCall.find(call);
        return found == LogOfCall.end() ? nullptr : &Contest.Logs[found->second];
    }

    std::size_t LogsWith(const std::string& call) const
    {
        const auto found = LogsHolding.find(call);
        return found == LogsHolding.end() ? 0 : found->second.size();
    }

    // A line of `log` with `call` (or, with `orSlip`, a slip of it) on that
    // band and mode, within the tolerance once both clocks are taken out.
    bool Holds(const TSimLog& log, const std::string& call, const TSimEntry& line, int lineClock,
               bool orSlip = false) const
    {
        const int clock = Contest.Stations[log.Station].ClockOffset;
        for (const TSimEntry& entry : log.Entries) {
            const TMinute apart = (entry.LoggedMinute - clock) - (line.LoggedMinute - lineClock);
            if (!entry.XQso && (entry.Call == call || (orSlip && IsSlipOf(entry.Call, call))) &&
                entry.Band == line.Band && entry.Mode == line.Mode && std::llabs(apart) <= 5)
                return true;
        }
        return false;
    }

private:
    const TSimContest& Contest;
    std::map<std::string, std::size_t> LogOfCall;
    std::map<std::string, std::set<std::size_t>> LogsHolding;
};

std::string Where(const TLogIndex& index, std::size_t log, const TSimEntry& entry)
{
    return index.StationCall(log) + " line " + std::to_string(entry.Line) + " (" + entry.Call + ")";
}

}  // namespace

TEST(SimulatedTruth, EveryVerdictHasItsEvidenceInTheLogs)
{
    for (std::uint64_t start : {1u, 2u, 3u}) {
        const TJudgedContest judged = JudgedContest(FaultyContestOptions(start));
        const TSimContest& contest = judged.Contest;
        const TLogIndex index(contest);
        std::array<std::size_t, kVerdictCount> seen{};
        for (std::size_t log = 0; log < contest.Logs.size(); ++log) {
            const std::string& self = index.StationCall(log);
            const int clock = index.Station(log).ClockOffset;
            std::set<std::string> earlier;
            for (std::size_t i = 0; i < contest.Logs[log].Entries.size(); ++i) {
                const TSimEntry& entry = contest.Logs[log].Entries[i];
                const TLineTruth& line = judged.Truths[log].Lines[i];
                const std::string where = Where(index, log, entry);
                ++seen[static_cast<std::size_t>(line.Verdict)];
                const TSimLog* other = index.LogOf(entry.Call);
                const bool repeat =
                    !entry.XQso && !earlier.insert(entry.Call + "|" + std::to_string(entry.Band) + "|" +
                                                   std::to_string(static_cast<int>(entry.Mode)))
                                        .second;
                switch (line.Verdict) {
                case TVerdict::XQso:
                    EXPECT_TRUE(entry.XQso) << where;
                    break;
                case TVerdict::OutOfPeriod:
                    EXPECT_TRUE(entry.LoggedMinute < contest.Options.From || entry.LoggedMinute >= contest.Options.To)
                        << where;
                    break;
                case TVerdict::Dupe:
                    EXPECT_TRUE(repeat) << where << ": a dupe needs an earlier line with that call, band and mode";
                    break;
                case TVerdict::BustedCall: {
                    const std::string worked = line.Detail.substr(7, line.Detail.find(' ', 7) - 7);
                    EXPECT_TRUE(IsSlipOf(entry.Call, worked)) << where << ": " << line.Detail;
                    ASSERT_NE(index.LogOf(worked), nullptr) << where << ": " << line.Detail;
                    EXPECT_TRUE(index.Holds(*index.LogOf(worked), self, entry, clock)) << where;
                    break;
                }
                case TVerdict::Nil:
                    ASSERT_NE(other, nullptr) << where << ": nil needs a log from the station worked";
                    EXPECT_FALSE(index.Holds(*other, self, entry, clock)) << where;
                    break;
                case TVerdict::Ok:
                    ASSERT_NE(other, nullptr) << where << ": ok needs a log from the station worked";
                    // The other side may have miscopied this call: still this contact.
                    EXPECT_TRUE(index.Holds(*other, self, entry, clock, true)) << where;
                    break;
                case TVerdict::Unique:
                    EXPECT_EQ(other, nullptr) << where;
                    EXPECT_EQ(index.LogsWith(entry.Call), 1u) << where << ": heard in other logs too";
                    break;
                case TVerdict::NoLog:
                    EXPECT_EQ(other, nullptr) << where;
                    EXPECT_GE(index.LogsWith(entry.Call), 2u) << where;
                    break;
                case TVerdict::BustedExchange:
                    EXPECT_NE(line.Detail.substr(line.Detail.rfind(' ') + 1), entry.ReceivedExchange)
                        << where << ": " << line.Detail;
                    break;
                }
                const int points = entry.ReceivedExchange.rfind("VC", 0) == 0 ? 3 : 1;
                EXPECT_EQ(line.Points, KeepsCredit(line.Verdict) ? points : 0) << where;
            }
        }
        for (std::size_t verdict = 0; verdict < kVerdictCount; ++verdict)
            EXPECT_GT(seen[verdict], 0u) << "random start " << start << ": no " << kVerdictNames[verdict] << " at all";
    }
}

TEST(SimulatedTruth, TwoSidesOfAContactAgree)
{
    const TJudgedContest judged = JudgedContest(FaultyContestOptions(4));
    const TSimContest& contest = judged.Contest;
    // Both lines of one contact: a miscopy costs only the side that made it,
    // and a contact made outside the period or worked again is so for both.
    std::vector<std::vector<TVerdict>> verdictsOf(contest.Contacts.size());
    for (std::size_t log = 0; log < contest.Logs.size(); ++log)
        for (std::size_t i = 0; i < contest.Logs[log].Entries.size(); ++i)
            if (!contest.Logs[log].Entries[i].XQso)
                verdictsOf[contest.Logs[log].Entries[i].Contact].push_back(judged.Truths[log].Lines[i].Verdict);
    for (std::size_t c = 0; c < contest.Contacts.size(); ++c) {
        const std::vector<TVerdict>& sides = verdictsOf[c];
        if (sides.size() != 2)
            continue;
        const bool busted = sides[0] == TVerdict::BustedCall || sides[1] == TVerdict::BustedCall;
        if (busted) {
            EXPECT_TRUE(sides[0] == TVerdict::Ok || sides[1] == TVerdict::Ok) << "contact " << c;
        }
        if (sides[0] == TVerdict::OutOfPeriod || sides[0] == TVerdict::Dupe) {
            EXPECT_EQ(sides[0], sides[1]) << "contact " << c;
        }
    }
}

TEST(SimulatedTruth, ScoresFollowThePluginRulesFromTheVerdicts)
{
    const TJudgedContest judged = JudgedContest(FaultyContestOptions(5));
    const TSimContest& contest = judged.Contest;
    for (std::size_t log = 0; log < contest.Logs.size(); ++log) {
        const TLogTruth& truth = judged.Truths[log];
        const TSimStation& self = contest.Stations[contest.Logs[log].Station];
        std::vector<TScoredRow> kept;
        std::size_t lines = 0;
        for (std::size_t i = 0; i < truth.Lines.size(); ++i) {
            const TSimEntry& entry = contest.Logs[log].Entries[i];
            lines += !entry.XQso;
            if (KeepsCredit(truth.Lines[i].Verdict))
                kept.push_back({entry.Call, kSimBandNames[entry.Band], ModeText(self, entry.Mode),
                                std::string(ReportOf(entry.Mode)) + " " + entry.ReceivedExchange});
        }
        EXPECT_EQ(ScoreByPluginRules(kept), truth.CheckedScore) << self.Call;
        EXPECT_EQ(truth.CheckedContacts, kept.size()) << self.Call;
        EXPECT_EQ(truth.ClaimedContacts, lines) << self.Call;
        EXPECT_LE(truth.CheckedScore, truth.ClaimedScore) << self.Call;
        EXPECT_EQ(contest.Logs[log].ClaimedScore, truth.ClaimedScore) << self.Call;
    }
}

TEST(SimulatedTruth, WithoutFaultsEveryContactKeepsItsCredit)
{
    TSimOptions options = SmallContestOptions(6);
    options.MissedCallRate = options.MissedExchangeRate = options.NotLoggedRate = 0;
    options.DupeRate = options.OutOfPeriodRate = options.XQsoRate = 0;
    options.ClockOffRate = 1.0;  // clocks alone take nothing away
    const TJudgedContest judged = JudgedContest(options);
    for (std::size_t log = 0; log < judged.Truths.size(); ++log) {
        const TLogTruth& truth = judged.Truths[log];
        EXPECT_EQ(truth.CheckedScore, truth.ClaimedScore);
        EXPECT_EQ(truth.CheckedContacts, truth.ClaimedContacts);
    }
}

TEST(SimulatedTruth, EachFaultAloneGivesItsOwnVerdict)
{
    struct TCase {
        double TSimOptions::*Rate;
        TVerdict Expected;
    };
    for (const TCase& fault : {TCase{&TSimOptions::MissedCallRate, TVerdict::BustedCall},
                               TCase{&TSimOptions::MissedExchangeRate, TVerdict::BustedExchange},
                               TCase{&TSimOptions::NotLoggedRate, TVerdict::Nil},
                               TCase{&TSimOptions::DupeRate, TVerdict::Dupe},
                               TCase{&TSimOptions::OutOfPeriodRate, TVerdict::OutOfPeriod},
                               TCase{&TSimOptions::XQsoRate, TVerdict::XQso}}) {
        TSimOptions options = SmallContestOptions(7);
        options.MissedCallRate = options.MissedExchangeRate = options.NotLoggedRate = 0;
        options.DupeRate = options.OutOfPeriodRate = options.XQsoRate = 0;
        options.*fault.Rate = 0.1;
        const TJudgedContest judged = JudgedContest(options);
        std::array<std::size_t, kVerdictCount> total{};
        for (const TLogTruth& truth : judged.Truths)
            for (std::size_t v = 0; v < kVerdictCount; ++v)
                total[v] += truth.Counts[v];
        const std::string_view name = VerdictName(fault.Expected);
        EXPECT_GT(total[static_cast<std::size_t>(fault.Expected)], 20u) << name;
        for (TVerdict other : {TVerdict::XQso, TVerdict::OutOfPeriod, TVerdict::Dupe, TVerdict::BustedCall,
                               TVerdict::BustedExchange}) {
            if (other != fault.Expected) {
                EXPECT_EQ(total[static_cast<std::size_t>(other)], 0u) << VerdictName(other) << " with only " << name;
            }
        }
    }
}
