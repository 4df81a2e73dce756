#include "velmora-check/DecideStage.h"

#include <string>
#include <unordered_map>

#include "scoring/MemberMatcher.h"
#include "scoring/TextRules.h"
#include "velmora-check/MatchStage.h"

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

class TMemberNumbers {
public:
    explicit TMemberNumbers(const TMemberList& members) : Members_(members) {}

    // The member number the file gives the call, empty for none.
    const std::string& Of(const std::string& call)
    {
        auto found = Cache_.find(call);
        if (found == Cache_.end())
            found = Cache_.emplace(call, FindMemberNumber(Members_, call)).first;
        return found->second;
    }

private:
    const TMemberList& Members_;
    std::unordered_map<std::string, std::string> Cache_;
};

// The row as the scorer's duplicate check compares it: call, band and mode,
// each exactly as the log table holds it (NULL reads as the empty text).
std::string DupeKey(const TCheckLog& log, const TCheckContact& contact)
{
    std::string key;
    for (std::size_t cell = kRowCall; cell <= kRowMode; ++cell)
        key.append(log.Text(contact.RowCells[cell])).push_back('\0');
    return key;
}

}  // namespace

void DecideRun(TCheckRun& run, const std::vector<std::uint32_t>& appearances, const TMemberList& members)
{
    TMemberNumbers memberNumbers(members);
    const auto& options = run.Options;
    for (TCheckLog& log : run.Logs) {
        // The first contact of each (call, band, mode) inside the period: a
        // later one repeats it, by the plug-in's rule, and one outside the
        // period never makes a contact inside it a repeat.
        std::unordered_map<std::string, std::uint32_t> firstLines;
        for (TCheckContact& contact : log.Contacts) {
            const std::string& call = run.Calls.Text(contact.CallId);
            const std::uint32_t logOfCall = run.LogOfCall[contact.CallId];
            const std::int32_t minute = CommonMinute(log, contact);
            contact.Detail.clear();
            if (contact.IsXQso) {
                contact.Verdict = TVerdict::XQso;
                contact.Detail = "marked X-QSO by the entrant";
            } else if ((options.From || options.To) &&
                       (minute == kUnknownMinute || (options.From && minute < *options.From) ||
                        (options.To && minute >= *options.To))) {
                contact.Verdict = TVerdict::OutOfPeriod;
                contact.Detail = minute == kUnknownMinute ? "no usable date and time"
                                 : options.From && minute < *options.From ? "before the contest period"
                                                                           : "after the contest period";
            } else if (const auto [first, isFirst] = firstLines.emplace(DupeKey(log, contact), contact.Line);
                       !isFirst) {
                contact.Verdict = TVerdict::Dupe;
                contact.Detail = "repeats line " + std::to_string(first->second);
            } else if (contact.PartnerThroughBust) {
                contact.Verdict = TVerdict::BustedCall;
                const TCheckLog& other = run.Logs[contact.PartnerLog];
                contact.Detail = "was " + other.StationCall + ": " + LineOf(other, contact.PartnerContact);
            } else if (logOfCall != kNoIndex && contact.PartnerLog == kNoIndex) {
                contact.Verdict = TVerdict::Nil;
                contact.Detail = "not in the log of " + run.Logs[logOfCall].StationCall;
            } else if (contact.PartnerLog != kNoIndex) {
                const TCheckLog& other = run.Logs[contact.PartnerLog];
                const TCheckContact& partner = other.Contacts[contact.PartnerContact];
                if (partner.SentKeyId != contact.ReceivedKeyId) {
                    contact.Verdict = TVerdict::BustedExchange;
                    contact.Detail = "sent " + std::string(other.Text(partner.Sent)) + ": " +
                                     LineOf(other, contact.PartnerContact);
                } else {
                    contact.Verdict = TVerdict::Ok;
                    contact.Detail = LineOf(other, contact.PartnerContact);
                    if (contact.PartnerCopiedUsWrong)
                        contact.Detail += " (logged as " + run.Calls.Text(partner.CallId) + ")";
                }
            } else {
                const std::string& number = members.empty() ? std::string() : memberNumbers.Of(call);
                if (!number.empty() && MemberNumberIn(log.Text(contact.Received)) != number) {
                    contact.Verdict = TVerdict::BustedExchange;
                    contact.Detail = "member number of " + call + " is " + number;
                } else if (appearances[contact.CallId] <= 1) {
                    contact.Verdict = TVerdict::Unique;
                    contact.Detail = call + " sent no log and is in no other log";
                } else {
                    contact.Verdict = TVerdict::NoLog;
                    contact.Detail = call + " sent no log; in " + std::to_string(appearances[contact.CallId]) + " logs";
                }
            }
        }
    }
}
