// A second scorer that follows the written scoring algorithm step by step,
// with no shortcut of its own: QSOList is a plain vector kept in call order by
// a full sort after every counted contact, the duplicate check is a bisection
// followed by a scan of the run of equal calls, and StatList and MemberKeys
// are searched one entry after another. It is slow on purpose; the scorer
// under test must give the same results, and the benchmark measures against
// it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "scoring/ContestScorer.h"
#include "scoring/QSO.h"

class TReferenceScorer {
public:
    bool IsDupe(const TContact& contact) const;
    void AddToQSOList(const TContact& contact);
    void SortQSOList();
    std::int32_t ScoreQSO(const TContact& contact, bool add);

    // What the adding entry point does: score and record, then restore the
    // call order after a counted contact.
    std::int32_t AddQSO(const TContact& contact);

    // The statistics report built line by line, then trimmed.
    std::string ReportText() const;

    void Clear();

    // Takes over a state reached elsewhere, so a benchmark can start the slow
    // algorithm on a long log without first replaying that log through it.
    // `qsoList` must be in ascending call order.
    void AdoptState(std::vector<TQSO> qsoList, std::vector<TStatistic> statList, std::vector<std::string> memberKeys);

    const std::vector<TQSO>& QSOList() const { return QSOList_; }
    const std::vector<TStatistic>& StatList() const { return StatList_; }
    const std::vector<std::string>& MemberKeys() const { return MemberKeys_; }

private:
    std::vector<TQSO> QSOList_;
    std::vector<TStatistic> StatList_;
    std::vector<std::string> MemberKeys_;
};

// -1, 0 or 1: unsigned byte by byte, a leading part first.
int ReferenceOrdinalCompare(std::string_view a, std::string_view b);
