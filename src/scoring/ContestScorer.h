// The contest's scoring state and rules: the duplicate check, the points,
// the per-band tallies and the member numbers counted once per band.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "plugin/PluginRecords.h"
#include "scoring/MemberMatcher.h"
#include "scoring/QSO.h"
#include "scoring/TextRules.h"

// The four fields of the current contact the scorer reads.
struct TContact {
    std::string_view CallSign;
    std::string_view DigiBand;
    std::string_view QSOMode;
    std::string_view QSOReportRecived;
};

TContact ContactOf(const TPluginData& record);

// Orders contacts by call, ordinal; also compares against a bare call so the
// duplicate check can look a call up without building a TQSO.
struct TCallOrder {
    using is_transparent = void;
    bool operator()(const TQSO& a, const TQSO& b) const { return a.Call < b.Call; }
    bool operator()(const TQSO& a, std::string_view call) const { return std::string_view(a.Call) < call; }
    bool operator()(std::string_view call, const TQSO& b) const { return call < std::string_view(b.Call); }
};

// QSOList stays in ordinal call order at every moment: each counted contact
// goes in at its place. The duplicate check can then trust the order whatever
// order the contacts arrived in (a database may sort calls its own way), and
// no full sort is ever needed.
using TQSOList = std::multiset<TQSO, TCallOrder>;

class TContestScorer {
public:
    explicit TContestScorer(CaseFolder foldCase = FoldAsciiCase);

    bool IsDupe(const TContact& contact) const;
    void AddToQSOList(const TContact& contact);
    // QSOList is ordered by construction, so there is nothing to restore.
    // Kept as the step the adding entry point takes after a counted contact.
    void SortQSOList() {}

    // -1 for a duplicate, else 1 or 3 points. With add true the contact is
    // recorded; with add false nothing changes.
    std::int32_t ScoreQSO(const TContact& contact, bool add);

    // Empties QSOList, StatList and MemberKeys, in that order.
    void Clear();

    const TQSOList& QSOList() const { return QSOList_; }
    const std::vector<TStatistic>& StatList() const { return StatList_; }
    const std::vector<std::string>& MemberKeys() const { return MemberKeys_; }

private:
    TStatistic& TallyOf(std::string_view band);

    TMemberMatcher Matcher;
    TQSOList QSOList_;
    std::vector<TStatistic> StatList_;
    // Keys in the order they were counted, plus their case-folded forms so a
    // look-up ignoring case costs one hash probe instead of a scan.
    std::vector<std::string> MemberKeys_;
    std::unordered_set<std::string> FoldedMemberKeys_;
    CaseFolder FoldCase_;
};
