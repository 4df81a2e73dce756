#include "support/ReferenceScorer.h"

#include <algorithm>
#include <cstddef>
#include <utility>

int ReferenceOrdinalCompare(std::string_view a, std::string_view b)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t at = 0; at < common; ++at) {
        const auto left = static_cast<unsigned char>(a[at]);
        const auto right = static_cast<unsigned char>(b[at]);
        if (left != right)
            return left < right ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

namespace {

bool IsControlOrSpace(char c) { return static_cast<unsigned char>(c) <= 32; }

// Upper-case a-z only, then drop codes 0-32 at both ends.
std::string NormalisedExchange(std::string_view received)
{
    std::string upper;
    for (char c : received)
        upper += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    std::size_t first = 0;
    while (first < upper.size() && IsControlOrSpace(upper[first]))
        ++first;
    std::size_t end = upper.size();
    while (end > first && IsControlOrSpace(upper[end - 1]))
        --end;
    return upper.substr(first, end - first);
}

bool ContainsVC(const std::string& x)
{
    for (std::size_t at = 0; at + 1 < x.size(); ++at) {
        if (x[at] == 'V' && x[at + 1] == 'C')
            return true;
    }
    return false;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The leftmost "VC\d{1,3}": at each start, "VC", then one to three digits.
std::string MemberNumberIn(const std::string& x)
{
    for (std::size_t at = 0; at + 2 < x.size(); ++at) {
        if (x[at] != 'V' || x[at + 1] != 'C' || !IsDigit(x[at + 2]))
            continue;
        std::size_t end = at + 3;
        while (end < x.size() && end < at + 5 && IsDigit(x[end]))
            ++end;
        return x.substr(at, end - at);
    }
    return {};
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool SameTextIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t at = 0; at < a.size(); ++at) {
        if (LowerAscii(a[at]) != LowerAscii(b[at]))
            return false;
    }
    return true;
}

std::string ReferencePadLeft(const std::string& text, int width, const std::string& fill)
{
    std::string prefix;
    for (long long n = static_cast<long long>(width) - static_cast<long long>(text.size()); n > 0; --n)
        prefix += fill;
    return prefix + text;
}

}  // namespace

bool TReferenceScorer::IsDupe(const TContact& contact) const
{
    std::ptrdiff_t low = 0;
    std::ptrdiff_t high = static_cast<std::ptrdiff_t>(QSOList_.size()) - 1;
    std::ptrdiff_t mid = 0;
    bool found = false;
    while (high >= low && !found) {
        mid = (low + high) / 2;
        const int order = ReferenceOrdinalCompare(contact.CallSign, QSOList_[mid].Call);
        if (order < 0)
            high = mid - 1;
        else if (order > 0)
            low = mid + 1;
        else
            found = true;
    }
    if (!found)
        return false;

    std::ptrdiff_t start = mid;
    while (start > 0 && ReferenceOrdinalCompare(QSOList_[start - 1].Call, contact.CallSign) == 0)
        --start;
    for (std::size_t at = start; at < QSOList_.size(); ++at) {
        const TQSO& entry = QSOList_[at];
        if (ReferenceOrdinalCompare(entry.Call, contact.CallSign) != 0)
            break;
        if (ReferenceOrdinalCompare(entry.Band, contact.DigiBand) == 0 &&
            ReferenceOrdinalCompare(entry.Mode, contact.QSOMode) == 0)
            return true;
    }
    return false;
}

void TReferenceScorer::AddToQSOList(const TContact& contact)
{
    QSOList_.emplace_back(std::string(contact.CallSign), std::string(contact.DigiBand), std::string(contact.QSOMode));
}

void TReferenceScorer::SortQSOList()
{
    std::sort(QSOList_.begin(), QSOList_.end(),
              [](const TQSO& a, const TQSO& b) { return ReferenceOrdinalCompare(a.Call, b.Call) < 0; });
}

std::int32_t TReferenceScorer::ScoreQSO(const TContact& contact, bool add)
{
    if (IsDupe(contact))
        return -1;
    if (add)
        AddToQSOList(contact);

    TStatistic* tally = nullptr;
    if (add) {
        for (TStatistic& entry : StatList_) {
            if (ReferenceOrdinalCompare(entry.Band, contact.DigiBand) == 0) {
                tally = &entry;
                break;
            }
        }
        if (tally == nullptr)
            tally = &StatList_.emplace_back(std::string(contact.DigiBand), 0, 0, 0);
    }

    const std::string x = NormalisedExchange(contact.QSOReportRecived);
    const std::int32_t points = ContainsVC(x) ? 3 : 1;
    if (add) {
        tally->QSOs += 1;
        tally->Points += points;
    }
    if (!add)
        return points;

    const std::string member = MemberNumberIn(x);
    if (member.empty())
        return points;
    const std::string key = std::string(contact.DigiBand) + "|" + member + "|";
    for (const std::string& known : MemberKeys_) {
        if (SameTextIgnoringCase(known, key))
            return points;
    }
    tally->Members += 1;
    MemberKeys_.push_back(key);
    return points;
}

std::int32_t TReferenceScorer::AddQSO(const TContact& contact)
{
    const std::int32_t result = ScoreQSO(contact, true);
    if (result > 0)
        SortQSOList();
    return result;
}

std::string TReferenceScorer::ReportText() const
{
    // The totals are 64-bit, as in the scorer under test: a score of 32 bits
    // would wrap negative in a big contest.
    long long totalQSOs = 0;
    long long totalPoints = 0;
    long long totalMembers = 0;
    std::string memo;
    memo += "  Band\t  QSOs\tPoints\tVClist\t\r\n";
    for (const TStatistic& entry : StatList_) {
        memo += ReferencePadLeft(entry.Band, 4, " ") + "\t";
        memo += ReferencePadLeft(std::to_string(entry.QSOs), 6, " ") + "\t";
        memo += ReferencePadLeft(std::to_string(entry.Points), 6, " ") + "\t";
        memo += ReferencePadLeft(std::to_string(entry.Members), 6, " ") + "\t\r\n";
        totalQSOs += entry.QSOs;
        totalPoints += entry.Points;
        totalMembers += entry.Members;
    }
    memo += "Total\t" + ReferencePadLeft(std::to_string(totalQSOs), 6, " ") + "\t" +
            ReferencePadLeft(std::to_string(totalPoints), 6, " ") + "\t" +
            ReferencePadLeft(std::to_string(totalMembers), 6, " ") + "\t\r\n";
    memo += " Score: " + std::to_string(totalPoints) + "*" + std::to_string(totalMembers) + "=" +
            std::to_string(totalPoints * totalMembers) + "\r\n";

    std::size_t first = 0;
    while (first < memo.size() && IsControlOrSpace(memo[first]))
        ++first;
    std::size_t end = memo.size();
    while (end > first && IsControlOrSpace(memo[end - 1]))
        --end;
    return memo.substr(first, end - first);
}

void TReferenceScorer::Clear()
{
    QSOList_.clear();
    StatList_.clear();
    MemberKeys_.clear();
}

void TReferenceScorer::AdoptState(std::vector<TQSO> qsoList, std::vector<TStatistic> statList,
                                  std::vector<std::string> memberKeys)
{
    QSOList_ = std::move(qsoList);
    StatList_ = std::move(statList);
    MemberKeys_ = std::move(memberKeys);
}
