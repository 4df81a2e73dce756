#include "velmora-check/MatchStage.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <unordered_map>

#include "velmora-check/ParallelLogs.h"

namespace {

// Pairs further apart than this never count towards a clock offset: logs are
// off by an hour at most, so two of them by two.
constexpr std::int32_t kOffsetWindowMinutes = 150;
// Fewer matches than this tell nothing reliable about a clock.
constexpr std::size_t kFewestPairsForOffset = 3;
constexpr int kOffsetRounds = 3;

struct TKeyedContact {
    std::uint64_t Key = 0;  // call id, then band and kind of mode
    std::uint32_t Contact = 0;
};

std::uint64_t KeyOf(std::uint32_t callId, std::uint32_t bandKindId)
{
    return (static_cast<std::uint64_t>(callId) << 32) | bandKindId;
}

std::uint32_t CallOfKey(std::uint64_t key) { return static_cast<std::uint32_t>(key >> 32); }

struct TIndex {
    // Per log: its contacts sorted by key, then by line.
    std::vector<std::vector<TKeyedContact>> PerLog;
    // Per log and contact: the id of (band, kind of mode).
    std::vector<std::vector<std::uint32_t>> BandKind;

    std::pair<const TKeyedContact*, const TKeyedContact*> Group(std::uint32_t log, std::uint64_t key) const
    {
        const auto& entries = PerLog[log];
        const auto [first, last] = std::equal_range(
            entries.begin(), entries.end(), TKeyedContact{key, 0},
            [](const TKeyedContact& a, const TKeyedContact& b) { return a.Key < b.Key; });
        return {entries.data() + (first - entries.begin()), entries.data() + (last - entries.begin())};
    }
};

TIndex BuildIndex(const TCheckRun& run)
{
    TIndex index;
    index.PerLog.resize(run.Logs.size());
    index.BandKind.resize(run.Logs.size());
    // Band and kind of mode as one number: the two ids side by side, which
    // needs nothing shared and so goes to threads; when that would not fit
    // in 32 bits (logs naming millions of bands), numbered in turn instead.
    const std::uint64_t modeKinds = std::max<std::size_t>(1, run.ModeKinds.Size());
    const bool sideBySide = run.Bands.Size() * modeKinds < kNoIndex;
    if (!sideBySide) {
        std::unordered_map<std::uint64_t, std::uint32_t> bandKindIds;
        for (std::size_t l = 0; l < run.Logs.size(); ++l)
            for (const TCheckContact& contact : run.Logs[l].Contacts) {
                const std::uint64_t pair = (static_cast<std::uint64_t>(contact.BandId) << 32) | contact.ModeKindId;
                index.BandKind[l].push_back(
                    bandKindIds.emplace(pair, static_cast<std::uint32_t>(bandKindIds.size())).first->second);
            }
    }
    ForEachIndexInParallel(run.Logs.size(), run.Options.Jobs, [&](std::size_t l) {
        const TCheckLog& log = run.Logs[l];
        auto& bandKinds = index.BandKind[l];
        if (sideBySide) {
            bandKinds.reserve(log.Contacts.size());
            for (const TCheckContact& contact : log.Contacts)
                bandKinds.push_back(static_cast<std::uint32_t>(contact.BandId * modeKinds + contact.ModeKindId));
        }
        auto& entries = index.PerLog[l];
        entries.reserve(log.Contacts.size());
        for (std::uint32_t c = 0; c < Count32(log.Contacts); ++c)
            entries.push_back({KeyOf(log.Contacts[c].CallId, bandKinds[c]), c});
        std::sort(entries.begin(), entries.end(), [](const TKeyedContact& a, const TKeyedContact& b) {
            return a.Key != b.Key ? a.Key < b.Key : a.Contact < b.Contact;
        });
    });
    return index;
}

// A pair of groups that could hold the two sides of contacts: log A's
// contacts with call X on a band and kind, and X's log's contacts with call
// A on the same.
struct TGroupPair {
    const TKeyedContact* AFirst;
    const TKeyedContact* ALast;
    std::uint32_t X;
    const TKeyedContact* XFirst;
    const TKeyedContact* XLast;
};

// Every pair of groups, each pair of logs once (A before X), listed per log
// A: found once (a binary search into the other log for each group) and
// visited by every pass of matching.
using TGroupPairs = std::vector<std::vector<TGroupPair>>;

TGroupPairs FindGroupPairs(const TCheckRun& run, const TIndex& index)
{
    TGroupPairs pairs(run.Logs.size());
    ForEachIndexInParallel(run.Logs.size(), run.Options.Jobs, [&](std::size_t log) {
        const auto a = static_cast<std::uint32_t>(log);
        const auto& entries = index.PerLog[a];
        for (std::size_t start = 0; start < entries.size();) {
            std::size_t end = start + 1;
            while (end < entries.size() && entries[end].Key == entries[start].Key)
                ++end;
            const std::uint32_t call = CallOfKey(entries[start].Key);
            const std::uint32_t x = run.LogOfCall[call];
            if (x != kNoIndex && x > a) {
                const auto bandKind = static_cast<std::uint32_t>(entries[start].Key & 0xFFFFFFFFu);
                const auto [first, last] = index.Group(x, KeyOf(run.Logs[a].StationCallId, bandKind));
                if (first != last)
                    pairs[a].push_back({entries.data() + start, entries.data() + end, x, first, last});
            }
            start = end;
        }
    });
    return pairs;
}

// Visits every pair of groups. The logs A are spread over threads: every
// contact is in one group and every group in one pair, so visits that touch
// only their own two groups never meet.
template <typename Visit>
void ForEachGroupPair(const TCheckRun& run, const TGroupPairs& pairs, Visit visit)
{
    ForEachIndexInParallel(run.Logs.size(), run.Options.Jobs, [&](std::size_t log) {
        const auto a = static_cast<std::uint32_t>(log);
        for (const TGroupPair& pair : pairs[a])
            visit(a, pair.AFirst, pair.ALast, pair.X, pair.XFirst, pair.XLast);
    });
}

void EstimateClockOffsets(TCheckRun& run, const TGroupPairs& groupPairs)
{
    // A log's view of one contact it shares with another: its minute less
    // the other's. Its clock is then that much plus the other's offset.
    struct TView {
        std::uint32_t Other;
        std::int32_t Difference;
    };
    // Gathered per log A on the threads, then each one's mirror given to X.
    std::vector<std::vector<TView>> views(run.Logs.size());
    ForEachGroupPair(run, groupPairs,
                     [&](std::uint32_t a, const TKeyedContact* aFirst, const TKeyedContact* aLast, std::uint32_t x,
                         const TKeyedContact* xFirst, const TKeyedContact* xLast) {
                         // Only pairs that can mean nothing else: one contact on each side.
                         if (aLast - aFirst != 1 || xLast - xFirst != 1)
                             return;
                         const std::int32_t aMinute = run.Logs[a].Contacts[aFirst->Contact].Minute;
                         const std::int32_t xMinute = run.Logs[x].Contacts[xFirst->Contact].Minute;
                         if (aMinute == kUnknownMinute || xMinute == kUnknownMinute)
                             return;
                         const std::int64_t difference = static_cast<std::int64_t>(aMinute) - xMinute;
                         if (std::llabs(difference) <= kOffsetWindowMinutes)
                             views[a].push_back({x, static_cast<std::int32_t>(difference)});
                     });
    std::vector<std::size_t> ownViews(run.Logs.size());
    for (std::size_t a = 0; a < run.Logs.size(); ++a)
        ownViews[a] = views[a].size();
    for (std::uint32_t a = 0; a < Count32(run.Logs); ++a)
        for (std::size_t v = 0; v < ownViews[a]; ++v)
            views[views[a][v].Other].push_back({a, -views[a][v].Difference});

    std::vector<std::int32_t> offsets(run.Logs.size(), 0);
    std::vector<std::int32_t> next(run.Logs.size(), 0);
    for (int round = 0; round < kOffsetRounds; ++round) {
        // Each log's estimate reads only the last round's offsets.
        ForEachIndexInParallel(run.Logs.size(), run.Options.Jobs, [&](std::size_t l) {
            thread_local std::vector<std::int32_t> estimates;
            estimates.clear();
            for (const TView& view : views[l])
                estimates.push_back(view.Difference + offsets[view.Other]);
            next[l] = estimates.size() < kFewestPairsForOffset ? 0 : MedianOf(estimates);
        });
        offsets.swap(next);
    }
    for (std::uint32_t l = 0; l < Count32(run.Logs); ++l)
        run.Logs[l].ClockOffset = offsets[l];
}

void Pair(TCheckRun& run, std::uint32_t a, std::uint32_t ca, std::uint32_t x, std::uint32_t cx)
{
    TCheckContact& first = run.Logs[a].Contacts[ca];
    TCheckContact& second = run.Logs[x].Contacts[cx];
    first.PartnerLog = x;
    first.PartnerContact = cx;
    first.PartnerLine = second.Line;
    first.PartnerSentKeyId = second.SentKeyId;
    second.PartnerLog = a;
    second.PartnerContact = ca;
    second.PartnerLine = first.Line;
    second.PartnerSentKeyId = first.SentKeyId;
}

bool IsDupe(const TCheckContact& contact) { return contact.ClaimedResult < 0; }

void MatchExactly(TCheckRun& run, const TGroupPairs& groupPairs)
{
    const std::int32_t tolerance = run.Options.ToleranceMinutes;
    struct TCandidate {
        int Dupes;
        std::int64_t Distance;
        std::uint32_t A, X;
    };
    ForEachGroupPair(run, groupPairs,
                     [&](std::uint32_t a, const TKeyedContact* aFirst, const TKeyedContact* aLast, std::uint32_t x,
                         const TKeyedContact* xFirst, const TKeyedContact* xLast) {
                         const TCheckLog& logA = run.Logs[a];
                         const TCheckLog& logX = run.Logs[x];
                         if (aLast - aFirst == 1 && xLast - xFirst == 1) {
                             // Most groups: one contact on each side.
                             const std::int32_t minuteA = CommonMinute(logA, logA.Contacts[aFirst->Contact]);
                             const std::int32_t minuteX = CommonMinute(logX, logX.Contacts[xFirst->Contact]);
                             if (minuteA != kUnknownMinute && minuteX != kUnknownMinute &&
                                 std::llabs(static_cast<std::int64_t>(minuteA) - minuteX) <= tolerance)
                                 Pair(run, a, aFirst->Contact, x, xFirst->Contact);
                             return;
                         }
                         // One per thread, reused.
                         thread_local std::vector<TCandidate> candidates;
                         candidates.clear();
                         for (const TKeyedContact* i = aFirst; i != aLast; ++i) {
                             const TCheckContact& contactA = logA.Contacts[i->Contact];
                             const std::int32_t minuteA = CommonMinute(logA, contactA);
                             if (minuteA == kUnknownMinute)
                                 continue;
                             for (const TKeyedContact* j = xFirst; j != xLast; ++j) {
                                 const TCheckContact& contactX = logX.Contacts[j->Contact];
                                 const std::int32_t minuteX = CommonMinute(logX, contactX);
                                 if (minuteX == kUnknownMinute)
                                     continue;
                                 const std::int64_t distance = std::llabs(static_cast<std::int64_t>(minuteA) - minuteX);
                                 if (distance <= tolerance)
                                     candidates.push_back({int(IsDupe(contactA)) + int(IsDupe(contactX)), distance,
                                                           i->Contact, j->Contact});
                             }
                         }
                         // Closest first; a duplicate only takes what the first contact left.
                         std::sort(candidates.begin(), candidates.end(), [](const TCandidate& p, const TCandidate& q) {
                             if (p.Dupes != q.Dupes)
                                 return p.Dupes < q.Dupes;
                             if (p.Distance != q.Distance)
                                 return p.Distance < q.Distance;
                             return p.A != q.A ? p.A < q.A : p.X < q.X;
                         });
                         for (const TCandidate& candidate : candidates) {
                             if (logA.Contacts[candidate.A].PartnerLog == kNoIndex &&
                                 logX.Contacts[candidate.X].PartnerLog == kNoIndex)
                                 Pair(run, a, candidate.A, x, candidate.X);
                         }
                     });
}

// Station calls by themselves and by each of their one-character deletions:
// two calls one slip apart always share one of these forms.
class TSlipIndex {
public:
    explicit TSlipIndex(const TCheckRun& run)
    {
        for (std::uint32_t l = 0; l < Count32(run.Logs); ++l) {
            const std::string& call = run.Logs[l].StationCall;
            Add(call, l);
            for (std::size_t i = 0; i < call.size(); ++i)
                Add(call.substr(0, i) + call.substr(i + 1), l);
        }
    }

    // Logs whose station call is one slip from `call`, in the order of logs.
    std::vector<std::uint32_t> NearLogs(const TCheckRun& run, const std::string& call) const
    {
        std::vector<std::uint32_t> logs;
        const auto collect = [&](const std::string& form) {
            if (const auto found = Forms_.find(form); found != Forms_.end())
                logs.insert(logs.end(), found->second.begin(), found->second.end());
        };
        collect(call);
        for (std::size_t i = 0; i < call.size(); ++i)
            collect(call.substr(0, i) + call.substr(i + 1));
        std::sort(logs.begin(), logs.end());
        logs.erase(std::unique(logs.begin(), logs.end()), logs.end());
        std::erase_if(logs, [&](std::uint32_t l) { return !IsOneSlipApart(run.Logs[l].StationCall, call); });
        return logs;
    }

private:
    void Add(const std::string& form, std::uint32_t log)
    {
        auto& logs = Forms_[form];
        if (logs.empty() || logs.back() != log)
            logs.push_back(log);
    }
    std::unordered_map<std::string, std::vector<std::uint32_t>> Forms_;
};

// The contact of another log that best explains contact `c` of log `a` as
// a slip of copying: in a log whose call is one slip from the call `a`
// logged, with `a` on the same band and kind of mode, within the tolerance,
// not matched yet; not a duplicate if another will do, then the closest.
struct TSlipPartner {
    int Dupe = 2;
    std::int64_t Distance = 0;
    std::uint32_t Log = kNoIndex;
    std::uint32_t Contact = kNoIndex;
};

TSlipPartner FindSlipPartner(const TCheckRun& run, const TIndex& index, const std::vector<std::uint32_t>& nearLogs,
                             std::uint32_t a, std::uint32_t c)
{
    const TCheckLog& logA = run.Logs[a];
    const std::int32_t minute = CommonMinute(logA, logA.Contacts[c]);
    const std::uint64_t key = KeyOf(logA.StationCallId, index.BandKind[a][c]);
    TSlipPartner best;
    for (const std::uint32_t y : nearLogs) {
        if (y == a)
            continue;
        const TCheckLog& logY = run.Logs[y];
        const auto [first, last] = index.Group(y, key);
        for (const TKeyedContact* entry = first; entry != last; ++entry) {
            const TCheckContact& other = logY.Contacts[entry->Contact];
            const std::int32_t otherMinute = CommonMinute(logY, other);
            if (other.PartnerLog != kNoIndex || otherMinute == kUnknownMinute)
                continue;
            const std::int64_t distance = std::llabs(static_cast<std::int64_t>(minute) - otherMinute);
            const int dupe = IsDupe(other) ? 1 : 0;
            if (distance <= run.Options.ToleranceMinutes &&
                (dupe < best.Dupe || (dupe == best.Dupe && distance < best.Distance)))
                best = {dupe, distance, y, entry->Contact};
        }
    }
    return best;
}

bool WantsSlipPartner(const TCheckLog& log, const TCheckContact& contact)
{
    return contact.PartnerLog == kNoIndex && !contact.IsXQso && CommonMinute(log, contact) != kUnknownMinute;
}

// Pairs the contacts left unmatched through slips of copying, log by log in
// order, each contact taking the best partner still free. The search goes
// to threads first, against the contacts free after exact matching; a
// partner found there is still the best when it is still free (partners are
// only ever taken), so only a contact whose partner an earlier one took is
// searched again, in turn. The pairs are those of searching in turn alone.
void MatchSlips(TCheckRun& run, const TIndex& index)
{
    if (run.Logs.empty())
        return;
    const TSlipIndex slips(run);
    std::vector<std::uint8_t> callWanted(run.Calls.Size(), 0);
    for (const TCheckLog& log : run.Logs)
        for (const TCheckContact& contact : log.Contacts)
            if (WantsSlipPartner(log, contact))
                callWanted[contact.CallId] = 1;
    std::vector<std::vector<std::uint32_t>> nearLogsOfCall(run.Calls.Size());
    ForEachIndexInParallel(run.Calls.Size(), run.Options.Jobs, [&](std::size_t call) {
        if (callWanted[call] != 0)
            nearLogsOfCall[call] = slips.NearLogs(run, run.Calls.Text(static_cast<std::uint32_t>(call)));
    });

    struct TFound {
        std::uint32_t Contact;
        TSlipPartner Partner;
    };
    std::vector<std::vector<TFound>> found(run.Logs.size());
    ForEachIndexInParallel(run.Logs.size(), run.Options.Jobs, [&](std::size_t log) {
        const auto a = static_cast<std::uint32_t>(log);
        const TCheckLog& logA = run.Logs[a];
        for (std::uint32_t c = 0; c < Count32(logA.Contacts); ++c) {
            const TCheckContact& contact = logA.Contacts[c];
            if (!WantsSlipPartner(logA, contact))
                continue;
            const TSlipPartner partner = FindSlipPartner(run, index, nearLogsOfCall[contact.CallId], a, c);
            if (partner.Log != kNoIndex)
                found[a].push_back({c, partner});
        }
    });

    for (std::uint32_t a = 0; a < Count32(run.Logs); ++a) {
        for (const TFound& candidate : found[a]) {
            TCheckContact& contact = run.Logs[a].Contacts[candidate.Contact];
            if (contact.PartnerLog != kNoIndex)
                continue;  // taken as the partner of an earlier contact
            TSlipPartner partner = candidate.Partner;
            if (run.Logs[partner.Log].Contacts[partner.Contact].PartnerLog != kNoIndex)
                partner = FindSlipPartner(run, index, nearLogsOfCall[contact.CallId], a, candidate.Contact);
            if (partner.Log == kNoIndex)
                continue;
            Pair(run, a, candidate.Contact, partner.Log, partner.Contact);
            contact.PartnerThroughBust = true;
            run.Logs[partner.Log].Contacts[partner.Contact].PartnerCopiedUsWrong = true;
        }
        std::vector<TFound>().swap(found[a]);
    }
}

std::vector<std::uint32_t> CountAppearances(const TCheckRun& run, const TIndex& index)
{
    std::vector<std::uint32_t> appearances(run.Calls.Size(), 0);
    for (const auto& entries : index.PerLog) {
        std::uint32_t previous = kNoIndex;
        for (const TKeyedContact& entry : entries) {
            const std::uint32_t call = CallOfKey(entry.Key);
            if (call != previous)
                ++appearances[call];
            previous = call;
        }
    }
    return appearances;
}

}  // namespace

std::int32_t CommonMinute(const TCheckLog& log, const TCheckContact& contact)
{
    return contact.Minute == kUnknownMinute ? kUnknownMinute : contact.Minute - log.ClockOffset;
}

bool IsOneSlipApart(std::string_view a, std::string_view b)
{
    if (a.size() > b.size())
        std::swap(a, b);
    if (b.size() - a.size() > 1)
        return false;
    std::size_t prefix = 0;
    while (prefix < a.size() && a[prefix] == b[prefix])
        ++prefix;
    if (a.size() < b.size())  // one added
        return a.substr(prefix) == b.substr(prefix + 1);
    if (prefix == a.size())
        return false;  // the same call
    if (a.substr(prefix + 1) == b.substr(prefix + 1))
        return true;  // one changed
    return prefix + 1 < a.size() && a[prefix] == b[prefix + 1] && a[prefix + 1] == b[prefix] &&
           a.substr(prefix + 2) == b.substr(prefix + 2);  // two swapped
}

std::int32_t MedianOf(std::vector<std::int32_t>& values)
{
    if (values.empty())
        return 0;
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>((values.size() - 1) / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

void MatchRun(TCheckRun& run)
{
    const TIndex index = BuildIndex(run);
    {
        const TGroupPairs groupPairs = FindGroupPairs(run, index);
        EstimateClockOffsets(run, groupPairs);
        MatchExactly(run, groupPairs);
    }
    MatchSlips(run, index);
    run.Appearances = CountAppearances(run, index);
}
