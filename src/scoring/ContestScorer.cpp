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

bool TContestScorer::HasMemberKey(const std::string& key) const
{
    return FoldedMemberKeys_.count(FoldCase_(key)) != 0;
}

std::int32_t TContestScorer::ScoreQSO(const TContact& contact, bool add)
{
    if (IsDupe(contact))
        return -1;

    TStatistic* tally = nullptr;
    if (add) {
        AddToQSOList(contact);
        tally = &TallyOf(contact.DigiBand);
    }

    const std::string upper = UpperAsciiLetters(contact.QSOReportRecived);
    const std::string_view exchange = TrimControlAndSpace(upper);
    const std::int32_t points = Matcher.ContainsMemberPrefix(exchange) ? 3 : 1;
    if (!add)
        return points;

    tally->QSOs += 1;
    tally->Points += points;

    const std::string_view member = Matcher.FindMemberNumber(exchange);
    if (member.empty())
        return points;

    std::string key;
    key.reserve(contact.DigiBand.size() + member.size() + 2);
    key.append(contact.DigiBand).append("|").append(member).append("|");
    if (HasMemberKey(key))
        return points;
    tally->Members += 1;
    FoldedMemberKeys_.insert(FoldCase_(key));
    MemberKeys_.push_back(std::move(key));
    return points;
}

void TContestScorer::Clear()
{
    QSOList_.clear();
    StatList_.clear();
    MemberKeys_.clear();
    FoldedMemberKeys_.clear();
}
