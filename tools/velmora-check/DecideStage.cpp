#include "velmora-check/DecideStage.h"

#include <vector>

#include "scoring/MemberMatcher.h"
#include "scoring/TextRules.h"
#include "velmora-check/MatchStage.h"
#include "velmora-check/ParallelLogs.h"

namespace {

// "W1AW line 12": where the other side of a contact is.
void AppendLineOf(std::string& out, const TCheckLog& log, std::uint32_t line)
{
    out.append(log.StationCall).append(" line ");
    AppendNumber(out, line);
}

std::string MemberNumberIn(std::string_view exchange)
{
    const std::string upper = UpperAsciiLetters(exchange);
    return std::string(TMemberMatcher().FindMemberNumber(TrimControlAndSpace(upper)));
}

// Per repeat key (call, band, mode as the scorer compares them): the line
// of the first contact with it inside the period, kNoIndex for none yet.
using TFirstLines = std::vector<std::uint32_t>;

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
    std::uint32_t& firstLine = firstLines[contact.RepeatKey];
    if (firstLine != kNoIndex) {
        contact.RepeatsLine = firstLine;
        return TVerdict::Dupe;
    }
    firstLine = contact.Line;
    if (contact.PartnerThroughBust)
        return TVerdict::BustedCall;
    if (contact.PartnerLog != kNoIndex)
        return contact.PartnerSentKeyId == contact.ReceivedKeyId ? TVerdict::Ok : TVerdict::BustedExchange;
    if (run.LogOfCall[contact.CallId] != kNoIndex)
        return TVerdict::Nil;
    const std::string& number = run.MemberNumbers.empty() ? std::string() : run.MemberNumbers[contact.CallId];
    if (!number.empty() && MemberNumberIn(log.Text(contact.Received)) != number)
        return TVerdict::BustedExchange;
    return run.Appearances[contact.CallId] <= 1 ? TVerdict::Unique : TVerdict::NoLog;
}

}  // namespace

TMemberIndex::TMemberIndex(const TMemberList& members)
{
    // The member list's own reading of a line: the first 15 characters of
    // the trimmed line, the call before its '=', at most 5 characters of
    // number after it. A later line of the same call wins.
    constexpr std::size_t kWindow = 15;
    constexpr std::size_t kNumberLength = 5;
    for (const std::string& entry : members) {
        const std::string_view window = TrimControlAndSpace(entry).substr(0, kWindow);
        const std::size_t equals = window.find('=');
        if (equals == std::string_view::npos || equals == 0)
            continue;
        Numbers_[std::string(window.substr(0, equals))] = std::string(window.substr(equals + 1, kNumberLength));
    }
}

const std::string& TMemberIndex::NumberOf(std::string_view call) const
{
    const auto found = Numbers_.find(call);
    return found == Numbers_.end() ? None_ : found->second;
}

void DecideRun(TCheckRun& run, const TMemberList& members, unsigned jobs)
{
    run.MemberNumbers.clear();
    if (!members.empty()) {
        run.MemberNumbers.resize(run.Calls.Size());
        const TMemberIndex index(members);
        for (std::uint32_t call = 0; call < static_cast<std::uint32_t>(run.Calls.Size()); ++call)
            if (run.LogOfCall[call] == kNoIndex)
                run.MemberNumbers[call] = index.NumberOf(run.Calls.Text(call));
    }
    ForEachLogInParallel(run, jobs, [&run](TCheckLog& log) {
        TFirstLines firstLines(log.Contacts.size(), kNoIndex);
        for (TCheckContact& contact : log.Contacts)
            contact.Verdict = VerdictOf(run, log, contact, firstLines);
    });
}

std::string DetailText(const TCheckRun& run, const TCheckLog& log, const TCheckContact& contact)
{
    std::string detail;
    AppendDetailText(detail, run, log, contact);
    return detail;
}

void AppendDetailText(std::string& out, const TCheckRun& run, const TCheckLog& log, const TCheckContact& contact)
{
    const std::string& call = run.Calls.Text(contact.CallId);
    switch (contact.Verdict) {
    case TVerdict::XQso:
        out += "marked X-QSO by the entrant";
        return;
    case TVerdict::OutOfPeriod: {
        const std::int32_t minute = CommonMinute(log, contact);
        if (minute == kUnknownMinute)
            out += "no usable date and time";
        else
            out += run.Options.From && minute < *run.Options.From ? "before the contest period" : "after the contest period";
        return;
    }
    case TVerdict::Dupe:
        out += "repeats line ";
        AppendNumber(out, contact.RepeatsLine);
        return;
    case TVerdict::BustedCall: {
        const TCheckLog& other = run.Logs[contact.PartnerLog];
        out.append("was ").append(other.StationCall).append(": ");
        AppendLineOf(out, other, contact.PartnerLine);
        return;
    }
    case TVerdict::Nil:
        out.append("not in the log of ").append(run.Logs[run.LogOfCall[contact.CallId]].StationCall);
        return;
    case TVerdict::BustedExchange: {
        if (contact.PartnerLog == kNoIndex) {
            out.append("member number of ").append(call).append(" is ").append(run.MemberNumbers[contact.CallId]);
            return;
        }
        const TCheckLog& other = run.Logs[contact.PartnerLog];
        out.append("sent ").append(other.Text(other.Contacts[contact.PartnerContact].Sent)).append(": ");
        AppendLineOf(out, other, contact.PartnerLine);
        return;
    }
    case TVerdict::Unique:
        out.append(call).append(" sent no log and is in no other log");
        return;
    case TVerdict::NoLog:
        out.append(call).append(" sent no log; in ");
        AppendNumber(out, run.Appearances[contact.CallId]);
        out += " logs";
        return;
    case TVerdict::Ok: {
        const TCheckLog& other = run.Logs[contact.PartnerLog];
        AppendLineOf(out, other, contact.PartnerLine);
        if (contact.PartnerCopiedUsWrong)
            out.append(" (logged as ").append(run.Calls.Text(other.Contacts[contact.PartnerContact].CallId)).append(")");
        return;
    }
    }
}
