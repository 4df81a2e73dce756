#include "scoring/ContestScorer.h"

std::int32_t CompareByCall(const TQSO& a, const TQSO& b)
{
    const int order = OrdinalCompare(a.Call, b.Call);
    return order > 0 ? 1 : (order < 0 ? -1 : 0);
}

TContact ContactOf(const TPluginData& record)
{
    return {SlotView(record.CallSign), SlotView(record.DigiBand), SlotView(record.QSOMode),
            SlotView(record.QSOReportRecived)};
}

TContestScorer::TContestScorer(CaseFolder foldCase) : FoldCase_(foldCase ? foldCase : FoldAsciiCase) {}

bool TContestScorer::IsDupe(const TContact& contact) const
{
    const auto [first, last] = QSOList_.equal_range(contact.CallSign);
    for (auto entry = first; entry != last; ++entry) {
        if (entry->Band == contact.DigiBand && entry->Mode == contact.QSOMode)
            return true;
    }
    return false;
}

void TContestScorer::AddToQSOList(const TContact& contact)
{
    // A rebuild delivers calls in order, so the end is the usual place and the
    // hint makes that insert constant time; anything else lands at its place.
    QSOList_.emplace_hint(QSOList_.end(), std::string(contact.CallSign), std::string(contact.DigiBand),
                          std::string(contact.QSOMode));
}

TStatistic& TContestScorer::TallyOf(std::string_view band)
{
    for (TStatistic& tally : StatList_) {
        if (tally.Band == band)
            return tally;
    }
    return StatList_.emplace_back(std::string(band), 0, 0, 0);
}

std::int32_t TContestScorer::ScoreQSO(const TContact& contact, bool add)
{
    if (IsDupe(contact))
        return -1;

    const std::string upper = UpperAsciiLetters(contact.QSOReportRecived);
    const std::string_view exchange = TrimControlAndSpace(upper);
    const std::int32_t points = Matcher.ContainsMemberPrefix(exchange) ? 3 : 1;
    if (!add)
        return points;

    // Everything that may fail to allocate is prepared before the first
    // change, so that a contact is recorded whole or not at all even when
    // memory runs out inside the host.
    TQSOList staging;
    staging.emplace(std::string(contact.CallSign), std::string(contact.DigiBand), std::string(contact.QSOMode));
    TQSOList::node_type entry = staging.extract(staging.begin());

    const std::string_view member = Matcher.FindMemberNumber(exchange);
    std::string key;
    std::unordered_set<std::string> foldedStaging;
    if (!member.empty()) {
        key.append(contact.DigiBand).append("|").append(member).append("|");
        std::string folded = FoldCase_(key);
        if (FoldedMemberKeys_.count(folded) == 0) {
            foldedStaging.insert(std::move(folded));
            FoldedMemberKeys_.reserve(FoldedMemberKeys_.size() + 1);  // no rehash below
            MemberKeys_.reserve(MemberKeys_.size() + 1);
        } else {
            key.clear();  // counted on this band already
        }
    }
    StatList_.reserve(StatList_.size() + 1);

    // From here on nothing allocates except a new band's tally, which is the
    // first change and leaves the list as it was when it fails.
    TStatistic& tally = TallyOf(contact.DigiBand);
    QSOList_.insert(QSOList_.end(), std::move(entry));
    tally.QSOs += 1;
    tally.Points += points;
    if (!key.empty()) {
        tally.Members += 1;
        FoldedMemberKeys_.insert(foldedStaging.extract(foldedStaging.begin()));
        MemberKeys_.push_back(std::move(key));
    }
    return points;
}

void TContestScorer::Clear()
{
    QSOList_.clear();
    StatList_.clear();
    MemberKeys_.clear();
    FoldedMemberKeys_.clear();
}
