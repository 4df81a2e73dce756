// The whole check over random folders of small logs: the input is cut into
// logs at lines of "====", each read as its content says, and the logs are
// checked against each other. Whatever the logs hold, every contact gets
// one verdict, matched contacts point at each other, verdicts agree with
// what matching found, the checked score never exceeds the claimed one
// without a contest period or penalty, the outputs stay well-formed and
// inert, and a second run gives the same.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "FuzzCheck.h"
#include "logfiles/LogFile.h"
#include "velmora-check/DecideStage.h"
#include "velmora-check/MatchStage.h"
#include "velmora-check/Normalise.h"
#include "velmora-check/ReadStage.h"
#include "velmora-check/ReportFiles.h"
#include "velmora-check/ScoreStage.h"

namespace {

constexpr std::size_t kMostLogs = 12;

std::vector<std::string_view> SplitLogs(std::string_view input)
{
    std::vector<std::string_view> logs;
    while (logs.size() + 1 < kMostLogs) {
        const std::size_t cut = input.find("\n====\n");
        if (cut == std::string_view::npos)
            break;
        logs.push_back(input.substr(0, cut));
        input.remove_prefix(cut + 6);
    }
    logs.push_back(input);
    return logs;
}

TCheckRun CheckLogs(const std::vector<std::string_view>& texts, std::int32_t tolerance)
{
    TCheckRun run;
    run.Options.ToleranceMinutes = tolerance;
    run.Options.Jobs = 1;
    std::vector<std::string> stations;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const TLogReadResult read = ReadLogText(texts[i], SniffLogFormat(texts[i]));
        TCheckLog log;
        std::string reason;
        const std::string name = "log" + std::to_string(i);
        if (!KeepReadLog(name, read, log, reason)) {
            FUZZ_CHECK(!reason.empty(), "a log left out without a reason");
            continue;
        }
        if (std::find(stations.begin(), stations.end(), log.StationCall) != stations.end())
            continue;  // the reading stage leaves a second log of a station out
        stations.push_back(log.StationCall);
        run.Logs.push_back(std::move(log));
    }
    NormaliseRun(run, 1);
    ScoreClaimed(run, 1);
    MatchRun(run);
    DecideRun(run, {}, 1);
    ScoreChecked(run, 1);
    return run;
}

void CheckVerdicts(const TCheckRun& run)
{
    for (std::uint32_t l = 0; l < Count32(run.Logs); ++l) {
        const TCheckLog& log = run.Logs[l];
        std::size_t counted = 0;
        for (const std::size_t count : log.VerdictCounts)
            counted += count;
        FUZZ_CHECK(counted == log.Contacts.size(), log.StationCall + ": verdicts do not add up to the contacts");
        FUZZ_CHECK(log.CheckedScore <= log.ClaimedScore, log.StationCall + ": checking raised the score");
        for (std::uint32_t c = 0; c < Count32(log.Contacts); ++c) {
            const TCheckContact& contact = log.Contacts[c];
            const std::string where = Joined(log.StationCall, " line ", std::to_string(contact.Line));
            if (contact.PartnerLog != kNoIndex) {
                FUZZ_CHECK(contact.PartnerLog != l, where + ": matched in its own log");
                const TCheckContact& partner = run.Logs[contact.PartnerLog].Contacts[contact.PartnerContact];
                FUZZ_CHECK(partner.PartnerLog == l && partner.PartnerContact == c, where + ": one-sided match");
                FUZZ_CHECK(partner.PartnerThroughBust == contact.PartnerCopiedUsWrong, where + ": bust seen one way");
            }
            const bool hasLog = run.LogOfCall[contact.CallId] != kNoIndex;
            switch (contact.Verdict) {
            case TVerdict::Ok:
                FUZZ_CHECK(contact.PartnerLog != kNoIndex && !contact.PartnerThroughBust, where + ": ok unmatched");
                break;
            case TVerdict::BustedCall:
                FUZZ_CHECK(contact.PartnerThroughBust, where + ": busted-call without the station worked");
                break;
            case TVerdict::Nil:
                FUZZ_CHECK(hasLog && contact.PartnerLog == kNoIndex, where + ": nil without a log to be in");
                break;
            case TVerdict::Unique:
            case TVerdict::NoLog:
                FUZZ_CHECK(!hasLog && contact.PartnerLog == kNoIndex, where + ": no-log or unique from a log");
                break;
            case TVerdict::OutOfPeriod:
                FUZZ_CHECK(false, where + ": out of a period never given");
                break;
            default:
                break;
            }
            FUZZ_CHECK(KeepsCredit(contact.Verdict) || contact.CheckedPoints <= 0, where + ": credit for a loss");
        }
    }
}

void CheckOutputs(const TCheckRun& run)
{
    const std::string verdicts = VerdictsCsvText(run);
    std::size_t contacts = 0;
    for (const TCheckLog& log : run.Logs)
        contacts += log.Contacts.size();
    // Fields with line breaks are quoted, so rows are counted by quotes.
    std::size_t rows = 0;
    bool quoted = false;
    for (const char c : verdicts) {
        if (c == '"')
            quoted = !quoted;
        else if (c == '\n' && !quoted)
            ++rows;
    }
    FUZZ_CHECK(!quoted && rows == contacts + 1, "verdicts.csv rows do not match the contacts");
    // Every field's first character, after its opening quote when quoted: a
    // comma inside a quoted field starts nothing.
    quoted = false;
    for (std::size_t at = 0; at < verdicts.size(); ++at) {
        const char c = verdicts[at];
        if (c == '"') {
            quoted = !quoted;
            continue;
        }
        if (quoted || (c != ',' && c != '\n'))
            continue;
        std::size_t first = at + 1;
        if (first < verdicts.size() && verdicts[first] == '"')
            ++first;
        const char next = first < verdicts.size() ? verdicts[first] : ',';
        const bool points = next == '-' && first + 1 < verdicts.size() && verdicts[first + 1] >= '0' &&
                            verdicts[first + 1] <= '9';
        FUZZ_CHECK(points || (next != '=' && next != '+' && next != '-' && next != '@'),
                   "a live formula in verdicts.csv: " + verdicts.substr(at, 40));
    }
    const std::string page = ResultsPageHtml(run);
    std::string lower = page;
    for (char& c : lower)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    FUZZ_CHECK(lower.find("<script") == std::string::npos, "a script element in the page");
    FUZZ_CHECK(lower.find("<img") == std::string::npos && lower.find("<iframe") == std::string::npos,
               "entrant markup in the page");
    FUZZ_CHECK(nlohmann::json::accept(ResultsJsonText(run)), "results.json is no JSON");
    for (const TCheckLog& log : run.Logs)
        static_cast<void>(LogReportText(run, log));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > std::size_t{64} * 1024)
        return 0;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string_view> texts = SplitLogs(input);
    const std::int32_t tolerance = size > 0 ? data[0] % 16 : 5;
    const TCheckRun run = CheckLogs(texts, tolerance);
    CheckVerdicts(run);
    CheckOutputs(run);
    FUZZ_CHECK(VerdictsCsvText(CheckLogs(texts, tolerance)) == VerdictsCsvText(run), "a second run differs");
    return 0;
}
