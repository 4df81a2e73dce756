// The contest rules: duplicates, points, member numbers per band, and the
// preview that changes nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "scoring/ContestScorer.h"
#include "support/LoggedContact.h"
#include "support/ReferenceScorer.h"

namespace {

// What the adding entry point does with a contact.
std::int32_t AddQSO(TContestScorer& scorer, const TLoggedContact& contact)
{
    const std::int32_t result = scorer.ScoreQSO(ContactView(contact), true);
    if (result > 0)
        scorer.SortQSOList();
    return result;
}

std::int32_t Preview(TContestScorer& scorer, const TLoggedContact& contact)
{
    return scorer.ScoreQSO(ContactView(contact), false);
}

bool InOrdinalCallOrder(const TQSOList& list)
{
    return std::is_sorted(list.begin(), list.end(), [](const TQSO& a, const TQSO& b) {
        return ReferenceOrdinalCompare(a.Call, b.Call) < 0;
    });
}

// Everything the scorer holds, comparable as a whole.
using TSnapshot = std::tuple<std::vector<std::tuple<std::string, std::string, std::string>>,
                             std::vector<std::tuple<std::string, int, int, int>>, std::vector<std::string>>;

TSnapshot Snapshot(const TContestScorer& scorer)
{
    TSnapshot snapshot;
    for (const TQSO& qso : scorer.QSOList())
        std::get<0>(snapshot).emplace_back(qso.Call, qso.Band, qso.Mode);
    for (const TStatistic& tally : scorer.StatList())
        std::get<1>(snapshot).emplace_back(tally.Band, tally.QSOs, tally.Points, tally.Members);
    std::get<2>(snapshot) = scorer.MemberKeys();
    return snapshot;
}

}  // namespace

TEST(Duplicates, SameCallBandAndModeOnly)
{
    TContestScorer scorer;
    EXPECT_EQ(AddQSO(scorer, {"K1ABC", "20", "CW", "599"}), 1) << "first contact of an empty log";
    const TSnapshot afterFirst = Snapshot(scorer);

    EXPECT_EQ(AddQSO(scorer, {"K1ABC", "20", "CW", "599 VC12"}), -1) << "same call, band and mode";
    EXPECT_EQ(Preview(scorer, {"K1ABC", "20", "CW", "599"}), -1) << "preview of a duplicate";
    EXPECT_EQ(Snapshot(scorer), afterFirst) << "a duplicate changes no list, tally or key";

    EXPECT_EQ(AddQSO(scorer, {"K1ABC", "20", "SSB", "59"}), 1) << "another mode counts";
    EXPECT_EQ(AddQSO(scorer, {"K1ABC", "40", "CW", "599"}), 1) << "another band counts";
    EXPECT_EQ(AddQSO(scorer, {"k1abc", "20", "CW", "599"}), 1) << "a call differing in case is another call";
    EXPECT_EQ(AddQSO(scorer, {"K1ABC", "20m", "CW", "599"}), 1) << "a band text differing at all is another band";
    EXPECT_EQ(AddQSO(scorer, {"", "20", "CW", ""}), 1) << "an empty call is a call like any other";
    EXPECT_EQ(AddQSO(scorer, {"", "20", "CW", ""}), -1) << "and repeats like any other";
    EXPECT_EQ(scorer.QSOList().size(), 6u) << "counted contacts";
}

TEST(Duplicates, EveryEntryOfALongRunOfOneCallIsFound)
{
    TContestScorer scorer;
    const std::vector<std::string> bands = {"10", "12", "15", "160", "17", "20", "30", "40", "6", "60", "80"};
    const std::vector<std::string> modes = {"CW", "FM", "RTTY", "SSB"};
    for (const std::string& band : bands) {
        for (const std::string& mode : modes)
            ASSERT_EQ(AddQSO(scorer, {"AA1A", band, mode, "599"}), 1) << band << " " << mode;
    }
    AddQSO(scorer, {"ZZ9ZZ", "20", "CW", "599"});

    for (const std::string& band : bands) {
        for (const std::string& mode : modes)
            EXPECT_EQ(Preview(scorer, {"AA1A", band, mode, ""}), -1) << "repeat of AA1A " << band << " " << mode;
    }
    EXPECT_EQ(Preview(scorer, {"AA1A", "2", "CW", ""}), 1) << "a band not in the run";
}

TEST(Duplicates, CallOrderHoldsWhateverOrderContactsArrive)
{
    // Calls arrive as a database that ignores letter case would sort them.
    // A byte above 127 sorts after 'z' (unsigned), not before 'A'.
    const std::vector<TLoggedContact> arrivals = {
        {"k1abc", "20", "CW", ""}, {"K1ABC", "20", "CW", ""}, {"K1abd", "20", "CW", ""}, {"k1abc", "20", "CW", ""},
        {"K1ABC", "40", "CW", ""}, {"k1ABC", "20", "CW", ""}, {"\xC4K1", "20", "CW", ""}, {"K1ABC", "20", "CW", ""},
        {"k1abd", "20", "CW", ""}, {"\xC4K1", "20", "CW", ""}, {"ZK1", "20", "CW", ""},
    };
    const std::vector<std::int32_t> expected = {1, 1, 1, -1, 1, 1, 1, -1, 1, -1, 1};
    TContestScorer scorer;
    for (std::size_t at = 0; at < arrivals.size(); ++at) {
        EXPECT_EQ(AddQSO(scorer, arrivals[at]), expected[at]) << "arrival " << at << " " << arrivals[at].CallSign;
        EXPECT_TRUE(InOrdinalCallOrder(scorer.QSOList())) << "QSOList in ordinal call order after arrival " << at;
    }

    EXPECT_EQ(CompareByCall({"\xC4K1", "", ""}, {"ZK1", "", ""}), 1) << "CompareByCall: unsigned bytes";
    EXPECT_EQ(CompareByCall({"K1", "20", "CW"}, {"K1", "40", "SSB"}), 0) << "CompareByCall: the call alone counts";
    EXPECT_EQ(CompareByCall({"K1", "", ""}, {"K1A", "", ""}), -1) << "CompareByCall: a leading part first";
}

TEST(Points, ExchangePatterns)
{
    struct TCase {
        std::string Exchange;
        std::int32_t Points;
        std::string Member;  // empty: none counted
    };
    const std::vector<TCase> cases = {
        {"599 VC1234", 3, "VC123"},
        {"VCX VC7", 3, "VC7"},
        {"ABVC", 3, ""},
        {"VC 12", 3, ""},
        {"599 12", 1, ""},
        {" vc12 ", 3, "VC12"},
        {"", 1, ""},
        {"vC9", 3, "VC9"},
        {"VCVC05x", 3, "VC05"},
        {"\x01\t vc3\x1f ", 3, "VC3"},
        {"V\x01" "C1", 1, ""},
        {"V C1", 1, ""},
        {"\xE9vc1\xE9", 3, "VC1"},
        {"VC\xB2", 3, ""},
    };
    for (const TCase& c : cases) {
        TContestScorer scorer;
        EXPECT_EQ(AddQSO(scorer, {"K1ABC", "20", "CW", c.Exchange}), c.Points) << "points for '" << c.Exchange << "'";
        const std::vector<std::string> keys =
            c.Member.empty() ? std::vector<std::string>{} : std::vector<std::string>{"20|" + c.Member + "|"};
        EXPECT_EQ(scorer.MemberKeys(), keys) << "member keys for '" << c.Exchange << "'";
        EXPECT_EQ(scorer.StatList().at(0).Members, c.Member.empty() ? 0 : 1) << "members for '" << c.Exchange << "'";
    }

    TContestScorer scorer;
    AddQSO(scorer, {"K1ABC", "20", "CW", "VC007"});
    AddQSO(scorer, {"K1ABD", "20", "CW", "VC7"});
    EXPECT_EQ(scorer.StatList().at(0).Members, 2) << "'VC007' and 'VC7' are different members";
}

TEST(Points, PreviewEqualsAddingAndChangesNothing)
{
    TContestScorer scorer;
    AddQSO(scorer, {"DL1ABC", "20", "CW", "599 VC12"});
    AddQSO(scorer, {"G3XYZ", "40", "SSB", "59 14"});

    const std::vector<TLoggedContact> candidates = {
        {"JA1ABC/P", "20", "CW", "599 VC12"},  // known member on its band
        {"K3XYZ", "20", "CW", "599 vc99"},     // new member
        {"OH2AB", "15", "CW", "599 27"},       // band never counted
        {"DL1ABC", "20", "CW", "599"},         // duplicate
    };
    for (const TLoggedContact& contact : candidates) {
        const TSnapshot before = Snapshot(scorer);
        const std::int32_t preview = Preview(scorer, contact);
        EXPECT_EQ(Snapshot(scorer), before) << "preview of " << contact.CallSign << " changes nothing";
        EXPECT_EQ(AddQSO(scorer, contact), preview) << "adding " << contact.CallSign << " gives the preview's value";
    }
}

TEST(Members, CountedOncePerBandWithKeysComparedIgnoringCase)
{
    TContestScorer scorer;
    AddQSO(scorer, {"K1AA", "20m", "CW", "VC12"});
    AddQSO(scorer, {"K1AB", "20m", "CW", "vc12"});
    AddQSO(scorer, {"K1AC", "20M", "CW", "VC12"});
    AddQSO(scorer, {"K1AD", "40", "CW", "VC12"});
    AddQSO(scorer, {"K1AE", "20M", "CW", "VC13"});

    const std::vector<std::tuple<std::string, int, int, int>> expected = {
        {"20m", 2, 6, 1},  // the second VC12 adds contacts and points, no member
        {"20M", 2, 6, 1},  // a tally of its own; VC12 was counted under '20m' already
        {"40", 1, 3, 1},   // the same member counts again on another band
    };
    EXPECT_EQ(std::get<1>(Snapshot(scorer)), expected) << "tallies in the order the bands were first counted";
    EXPECT_EQ(scorer.MemberKeys(), (std::vector<std::string>{"20m|VC12|", "40|VC12|", "20M|VC13|"}))
        << "keys as first counted, in counting order";
}

TEST(Members, CaseFoldingComesFromThePlatform)
{
    // The portable default folds a-z only; a platform folding that also
    // pairs Latin-1 letters (0xE9 and 0xC9) merges those keys as well.
    TContestScorer asciiOnly;
    AddQSO(asciiOnly, {"K1AA", "\xE9", "CW", "VC1"});
    AddQSO(asciiOnly, {"K1AB", "\xC9", "CW", "VC1"});
    EXPECT_EQ(asciiOnly.MemberKeys().size(), 2u) << "default folding keeps bands \\xE9 and \\xC9 apart";

    auto latin1 = [](std::string_view text) {
        std::string folded(text);
        for (char& c : folded) {
            const auto code = static_cast<unsigned char>(c);
            if ((code >= 'a' && code <= 'z') || (code >= 0xE0 && code <= 0xFE && code != 0xF7))
                c = static_cast<char>(code - 32);
        }
        return folded;
    };
    TContestScorer platform(latin1);
    AddQSO(platform, {"K1AA", "\xE9", "CW", "VC1"});
    AddQSO(platform, {"K1AB", "\xC9", "CW", "VC1"});
    EXPECT_EQ(platform.MemberKeys().size(), 1u) << "the platform's folding merges bands \\xE9 and \\xC9";
}
