#include "velmora-check/DecideStage.h"

#include <unordered_map>

#include "scoring/MemberMatcher.h"
#include "scoring/TextRules.h"
#include "velmora-check/MatchStage.h"
#include "velmora-check/ParallelLogs.h"

namespace {

std::string LineOf(const TCheckLog& log, std::uint32_t contact)
{
    return log.StationCall + " line " + std::to_string(log.Contacts[contact].Line);
}

std::string MemberNumberIn(std::string_view exchange)
{
    const std::string upper = UpperAsciiLetters(exchange);
    return std::string(TMemberMatcher().FindMemberNumber(TrimControlAndSpace(upper)));
}

// The row as the scorer's duplicate check compares it: call, band and mode,
// each exactly as the log table holds it (NULL reads as the empty text). The
// texts stay in the log's store.
struct TDupeKey {
    std::string_view Call, Band, Mode;
    bool operator==(const TDupeKey&) const = default;
};

struct TDupeKeyHash {
    std::size_t operator()(const TDupeKey& key) const
    {
        const std::hash<std::string_view> hash;
        return hash(key.Call) ^ (hash(key.Band) * 31) ^ (hash(key.Mode) * 1009);
    }
};

using TFirstLines = std::unordered_map<TDupeKey, std::uint32_t, TDupeKeyHash>;

// The host's record keeps 255 characters of each, so texts that differ only
// beyond that are the same to the scorer.
TDupeKey DupeKey(const TCheckLog& log, const TCheckContact& contact)
{
    constexpr std::size_t kRecordFieldLength = 255;
    return {log.Text(contact.RowCells[kRowCall]).substr(0, kRecordFieldLength),
            log.Text(contact.RowCells[kRowBand]).substr(0, kRecordFieldLength),
            log.Text(contact.RowCells[kRowMode]).substr(0, kRecordFieldLength)};
}

TVerdict VerdictOf(const TCheckRun& run, const TCheckLog& log, TCheckContact& contact,
                   TFirstLines& firstLines)
{
    const TCheckOptions& options = run.Options;
    if (contact.IsXQso)
        return TVerdict::XQso;
    const std::int32_t minute = CommonMinute(log, contact);
    if ((options.From || options.To) && (minute == kUnknownMinute || (options.From && minute < *options.From) ||
                                         (options.To && minute >= *options.To)))
        return TVerdict::OutOfPeriod;
    // The first contact of each (call, band, mode) inside the period: a
    // later one repeats it, by the plug-in's rule, and one outside the
    // period never makes a contact inside it a repeat.
    if (const auto [first, isFirst] = firstLines.emplace(DupeKey(log, contact), contact.Line); !isFirst) {
        contact.RepeatsLine = first->second;
        return TVerdict::Dupe;
    }
    if (contact.PartnerThroughBust)
        return TVerdict::BustedCall;
    if (contact.PartnerLog != kNoIndex) {
        const TCheckContact& partner = run.Logs[contact.PartnerLog].Contacts[contact.PartnerContact];
        return partner.SentKeyId == contact.ReceivedKeyId ? TVerdict::Ok : TVerdict::BustedExchange;
    }
    if (run.LogOfCall[contact.CallId] != kNoIndex)
        return TVerdict::Nil;
    const std::string& number = run.MemberNumbers.empty() ? std::string() : run.MemberNumbers[contact.CallId];
    if (!number.empty() && MemberNumberIn(log.Text(contact.Received)) != number)
        return TVerdict::BustedExchange;
    return run.Appearances[contact.CallId] <= 1 ? TVerdict::Unique : TVerdict::NoLog;
}

}  // namespace

void DecideRun(TCheckRun& run, const TMemberList& members, unsigned jobs)
{
    run.MemberNumbers.clear();
    if (!members.empty()) {
        run.MemberNumbers.resize(run.Calls.Size());
        for (std::uint32_t call = 0; call < static_cast<std::uint32_t>(run.Calls.Size()); ++call)
            if (run.LogOfCall[call] == kNoIndex)
                run.MemberNumbers[call] = FindMemberNumber(members, run.Calls.Text(call));
    }
    ForEachLogInParallel(run, jobs, [&run](TCheckLog& log) {
        TFirstLines firstLines;
        firstLines.reserve(log.Contacts.size());
        for (TCheckContact& contact : log.Contacts)
            contact.Verdict = VerdictOf(run, log, contact, firstLines);
    });
}

std::string DetailText(const TCheckRun& run, const TCheckLog& log, const TCheckContact& contact)
{
    const std::string& call = run.Calls.Text(contact.CallId);
    switch (contact.Verdict) {
    case TVerdict::XQso:
        return "marked X-QSO by the entrant";
    case TVerdict::OutOfPeriod: {
        const std::int32_t minute = CommonMinute(log, contact);
        if (minute == kUnknownMinute)
            return "no usable date and time";
        return run.Options.From && minute < *run.Options.From ? "before the contest period"
                                                              : "after the contest period";
    }
    case TVerdict::Dupe:
        return "repeats line " + std::to_string(contact.RepeatsLine);
    case TVerdict::BustedCall: {
        const TCheckLog& other = run.Logs[contact.PartnerLog];
        return "was " + other.StationCall + ": " + LineOf(other, contact.PartnerContact);
    }
    case TVerdict::Nil:
        return "not in the log of " + run.Logs[run.LogOfCall[contact.CallId]].StationCall;
    case TVerdict::BustedExchange: {
        if (contact.PartnerLog == kNoIndex)
            return "member number of " + call + " is " + run.MemberNumbers[contact.CallId];
        const TCheckLog& other = run.Logs[contact.PartnerLog];
        return "sent " + std::string(other.Text(other.Contacts[contact.PartnerContact].Sent)) + ": " +
               LineOf(other, contact.PartnerContact);
    }
    case TVerdict::Unique:
        return call + " sent no log and is in no other log";
    case TVerdict::NoLog:
        return call + " sent no log; in " + std::to_string(run.Appearances[contact.CallId]) + " logs";
    case TVerdict::Ok: {
        const TCheckLog& other = run.Logs[contact.PartnerLog];
        std::string detail = LineOf(other, contact.PartnerContact);
        if (contact.PartnerCopiedUsWrong)
            detail += " (logged as " + run.Calls.Text(other.Contacts[contact.PartnerContact].CallId) + ")";
        return detail;
    }
    }
    return {};
}
