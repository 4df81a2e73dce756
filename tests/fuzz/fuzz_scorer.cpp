// The scorer: the input is a log, one contact a line ("\n"), its call, band,
// mode and received exchange separated by tabs. Each contact is previewed,
// then added, the way the host's two scoring calls would; after each one the
// state is held against the literal reference scorer, a plain set of what was
// counted, and the report read back.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "FuzzCheck.h"
#include "ReportCheck.h"
#include "scoring/ContestScorer.h"
#include "scoring/StatisticReport.h"
#include "support/ReferenceScorer.h"

namespace {

using TTriple = std::tuple<std::string, std::string, std::string>;

// More contacts add nothing a mutation could not show with fewer, and the
// reference scorer sorts its whole list after each one: a short log keeps
// the runs fast.
constexpr std::size_t kMaxContacts = 64;

std::vector<TContact> ContactsOf(std::string_view text)
{
    std::vector<std::string_view> lines = SplitAt(text, '\n');
    if (lines.back().empty())
        lines.pop_back();  // a final line break opens no contact
    if (lines.size() > kMaxContacts)
        lines.resize(kMaxContacts);
    std::vector<TContact> contacts;
    for (const std::string_view line : lines) {
        const std::vector<std::string_view> fields = SplitAt(line, '\t');
        auto field = [&](std::size_t index) { return index < fields.size() ? fields[index] : std::string_view(); };
        contacts.push_back({field(0), field(1), field(2), field(3)});
    }
    return contacts;
}

bool SameTallies(const std::vector<TStatistic>& a, const std::vector<TStatistic>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const TStatistic& x, const TStatistic& y) {
        return x.Band == y.Band && x.QSOs == y.QSOs && x.Points == y.Points && x.Members == y.Members;
    });
}

std::string Describe(const TContact& contact)
{
    return "contact " + Escaped(contact.CallSign) + " " + Escaped(contact.DigiBand) + " " +
           Escaped(contact.QSOMode) + " " + Escaped(contact.QSOReportRecived);
}

// Points straight from the rule: "VC" in the upper-cased exchange. Trimming
// cannot matter, since it removes only codes up to 32.
std::int32_t RulePoints(std::string_view exchange)
{
    std::string upper(exchange);
    for (char& c : upper)
        c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    return upper.find("VC") != std::string::npos ? 3 : 1;
}

void CheckCallOrder(const TQSOList& qsoList)
{
    const TQSO* previous = nullptr;
    for (const TQSO& entry : qsoList) {
        if (previous) {
            FUZZ_CHECK(ReferenceOrdinalCompare(previous->Call, entry.Call) <= 0,
                       Escaped(previous->Call) + " stands before " + Escaped(entry.Call));
            const int expected = ReferenceOrdinalCompare(previous->Call, entry.Call);
            FUZZ_CHECK(CompareByCall(*previous, entry) == expected, "CompareByCall");
            FUZZ_CHECK(CompareByCall(entry, *previous) == -expected, "CompareByCall reversed");
        }
        previous = &entry;
    }
}

void CheckTotals(const TContestScorer& scorer, std::int64_t counted, std::int64_t points)
{
    std::int64_t qsos = 0;
    std::int64_t tallyPoints = 0;
    std::int64_t members = 0;
    for (const TStatistic& tally : scorer.StatList()) {
        FUZZ_CHECK(tally.QSOs > 0 && tally.Points >= tally.QSOs && tally.Points <= 3 * tally.QSOs,
                   "tally of band " + Escaped(tally.Band));
        FUZZ_CHECK(tally.Members >= 0 && tally.Members <= tally.QSOs, "members of band " + Escaped(tally.Band));
        qsos += tally.QSOs;
        tallyPoints += tally.Points;
        members += tally.Members;
    }
    FUZZ_CHECK(qsos == counted, "total QSOs are the counted contacts");
    FUZZ_CHECK(tallyPoints == points, "total points are the points returned");
    FUZZ_CHECK(members == static_cast<std::int64_t>(scorer.MemberKeys().size()), "one member per key");
    FUZZ_CHECK(static_cast<std::int64_t>(scorer.QSOList().size()) == counted, "one QSOList entry per count");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<TContact> contacts = ContactsOf(InputText(data, size));

    TContestScorer scorer;
    TReferenceScorer reference;
    std::set<TTriple> counted;
    std::vector<TContact> countedInOrder;
    std::int64_t pointsReturned = 0;

    for (const TContact& contact : contacts) {
        const std::string what = Describe(contact);
        const std::vector<TStatistic> tallies = scorer.StatList();
        const std::vector<std::string> keys = scorer.MemberKeys();
        const std::size_t entries = scorer.QSOList().size();

        const std::int32_t preview = scorer.ScoreQSO(contact, false);
        FUZZ_CHECK(SameTallies(scorer.StatList(), tallies) && scorer.MemberKeys() == keys &&
                       scorer.QSOList().size() == entries,
                   what + ": a preview changed the state");
        FUZZ_CHECK(preview == reference.ScoreQSO(contact, false), what + ": preview differs from the reference");

        const std::int32_t added = scorer.ScoreQSO(contact, true);
        if (added > 0)
            scorer.SortQSOList();
        const std::int32_t referenceAdded = reference.AddQSO(contact);
        FUZZ_CHECK(preview == added, what + ": preview " + std::to_string(preview) + ", added " +
                                         std::to_string(added));
        FUZZ_CHECK(added == referenceAdded, what + ": reference added " + std::to_string(referenceAdded));

        TTriple triple{std::string(contact.CallSign), std::string(contact.DigiBand), std::string(contact.QSOMode)};
        const bool repeated = counted.count(triple) != 0;
        FUZZ_CHECK((added == -1) == repeated, what + ": duplicate answer " + std::to_string(added));
        if (repeated) {
            FUZZ_CHECK(SameTallies(scorer.StatList(), tallies) && scorer.MemberKeys() == keys &&
                           scorer.QSOList().size() == entries,
                       what + ": a duplicate changed the state");
        } else {
            FUZZ_CHECK(added == RulePoints(contact.QSOReportRecived), what + ": points");
            counted.insert(std::move(triple));
            countedInOrder.push_back(contact);
            pointsReturned += added;
        }

        FUZZ_CHECK(SameTallies(scorer.StatList(), reference.StatList()), what + ": tallies differ from the reference");
        FUZZ_CHECK(scorer.MemberKeys() == reference.MemberKeys(), what + ": member keys differ from the reference");
        CheckCallOrder(scorer.QSOList());
        CheckTotals(scorer, static_cast<std::int64_t>(counted.size()), pointsReturned);
    }

    std::set<TTriple> listed;
    for (const TQSO& entry : scorer.QSOList())
        listed.emplace(entry.Call, entry.Band, entry.Mode);
    FUZZ_CHECK(listed == counted && listed.size() == scorer.QSOList().size(), "QSOList holds the counted contacts");

    const std::string report = StatisticReportText(scorer.StatList());
    CheckReportAgainstTallies(report, scorer.StatList());
    FUZZ_CHECK(report == reference.ReportText(), "report differs from the reference");

    // A rebuild may meet the counted contacts in another order (a database
    // sorts calls its own way): nothing is a duplicate then, and the totals,
    // so the score, come out the same.
    // The last "\r\nTotal\t": a band may be called "Total", but no band text
    // here holds a line feed.
    const std::string before = report.substr(report.rfind("\r\nTotal\t"));
    scorer.Clear();
    FUZZ_CHECK(scorer.QSOList().empty() && scorer.StatList().empty() && scorer.MemberKeys().empty(), "Clear");
    for (auto contact = countedInOrder.rbegin(); contact != countedInOrder.rend(); ++contact)
        FUZZ_CHECK(scorer.ScoreQSO(*contact, true) > 0, Describe(*contact) + ": a duplicate in another order");
    CheckTotals(scorer, static_cast<std::int64_t>(counted.size()), pointsReturned);
    const std::string after = StatisticReportText(scorer.StatList());
    FUZZ_CHECK(after.substr(after.rfind("\r\nTotal\t")) == before, "totals depend on the order of the contacts");
    return 0;
}
