#include "velmora-check/ScoreStage.h"

#include <algorithm>
#include <unordered_map>

#include "logfiles/LogCollation.h"
#include "scoring/MemberMatcher.h"
#include "scoring/TextRules.h"
#include "velmora-check/ParallelLogs.h"

namespace {

// The length of a text field of the host's record.
constexpr std::size_t kRecordFieldLength = 255;

// A cell as the plug-in's host record holds it: NULL reads as the empty
// text, and a record field keeps at most 255 characters.
std::string_view CellOf(const TCheckLog& log, const TCheckContact& contact, std::size_t cell)
{
    if ((contact.RowNullCells & (1u << cell)) != 0)
        return {};
    return log.Text(contact.RowCells[cell]).substr(0, kRecordFieldLength);
}

// The rows of the log table (X-QSO lines have none) in the order the host's
// database returns "order by CallSign": NULL first, then by the collation,
// equal calls in the order of the log. The keys of all rows share one text;
// their first eight bytes, packed into a number, decide most comparisons.
std::vector<std::uint32_t> CallSignOrderOf(const TCheckLog& log)
{
    struct TSortKey {
        bool IsText = false;  // false (NULL) sorts first
        std::uint64_t Head = 0;  // the key's first bytes, most significant first
        TTextRef Key;
        std::uint32_t Contact = 0;
    };
    std::vector<TSortKey> keys;
    keys.reserve(log.Contacts.size());
    std::string keyTexts;
    for (std::uint32_t c = 0; c < Count32(log.Contacts); ++c) {
        const TCheckContact& contact = log.Contacts[c];
        if (contact.IsXQso)
            continue;
        const bool isNull = (contact.RowNullCells & (1u << kRowCall)) != 0;
        const std::string key = CaseInsensitiveCollationKey(isNull ? std::string_view() : log.Text(contact.RowCells[kRowCall]));
        // No character ranks 0, so a shorter key padded with zeros still
        // sorts before every longer one it begins.
        std::uint64_t head = 0;
        for (std::size_t i = 0; i < 8; ++i)
            head = (head << 8) | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
        keys.push_back({!isNull, head, {Count32(keyTexts), Count32(key)}, c});
        keyTexts += key;
    }
    const auto keyOf = [&keyTexts](const TSortKey& key) {
        return std::string_view(keyTexts).substr(key.Key.Offset, key.Key.Size);
    };
    std::sort(keys.begin(), keys.end(), [&](const TSortKey& a, const TSortKey& b) {
        if (a.IsText != b.IsText)
            return b.IsText;
        if (a.Head != b.Head)
            return a.Head < b.Head;
        if (a.Key.Size > 8 || b.Key.Size > 8) {
            if (const int order = keyOf(a).compare(keyOf(b)); order != 0)
                return order < 0;
        }
        return a.Contact < b.Contact;  // equal calls stay in the order of the log
    });
    std::vector<std::uint32_t> order;
    order.reserve(keys.size());
    for (const TSortKey& key : keys)
        order.push_back(key.Contact);
    return order;
}

// The call, band and mode of a row, which the duplicate check compares
// exactly.
struct TRepeatText {
    std::string_view Call, Band, Mode;
    bool operator==(const TRepeatText&) const = default;
};

// One pass over the three texts (FNV-1a), with a separator between them so
// that ("AB", "C") and ("A", "BC") differ: cheaper than three hashes of
// their own for texts this short.
struct TRepeatTextHash {
    std::size_t operator()(const TRepeatText& key) const
    {
        std::uint64_t hash = 14695981039346656037ull;
        const auto add = [&hash](std::string_view text) {
            for (const char c : text)
                hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
            hash = (hash ^ 0x100u) * 1099511628211ull;
        };
        add(key.Call);
        add(key.Band);
        add(key.Mode);
        return static_cast<std::size_t>(hash ^ (hash >> 29));
    }
};

// Numbers keys densely from 0 in the order first seen. Open addressing over
// a flat array sized for the log: a log's rows are looked up once each, and
// a map of nodes would cost an allocation for most of them.
template <typename Key, typename Hash>
class TDenseIds {
public:
    explicit TDenseIds(std::size_t most)
    {
        std::size_t size = 16;
        while (size < most * 2)
            size *= 2;
        Slots_.assign(size, kNoIndex);
        Keys_.reserve(most);
    }

    std::uint32_t IdOf(const Key& key)
    {
        const std::size_t mask = Slots_.size() - 1;
        for (std::size_t slot = Hash{}(key) & mask;; slot = (slot + 1) & mask) {
            const std::uint32_t id = Slots_[slot];
            if (id == kNoIndex) {
                Slots_[slot] = Count32(Keys_);
                Keys_.push_back(key);
                return Slots_[slot];
            }
            if (Keys_[id] == key)
                return id;
        }
    }

private:
    std::vector<std::uint32_t> Slots_;  // ids, kNoIndex for empty; never more than half full
    std::vector<Key> Keys_;
};

struct TNumberHash {
    std::size_t operator()(std::uint64_t key) const { return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 20); }
};

// A member number ("VC" and one to three digits) as a number that keeps
// "VC7" apart from "VC007".
std::uint32_t MemberNumberCode(std::string_view number)
{
    std::uint32_t value = 0;
    for (const char digit : number.substr(2))
        value = value * 10 + static_cast<std::uint32_t>(digit - '0');
    return static_cast<std::uint32_t>(number.size() - 2) * 1000 + value;
}

// Each row of the log table reduced to numbers, in the rebuild's order. The
// texts go through the scorer's own rules: its case folding of member keys,
// its reading of the exchange, its member patterns.
std::vector<TScoringRow> ScoringRowsOf(const TCheckLog& log)
{
    const std::vector<std::uint32_t> order = CallSignOrderOf(log);
    // Every row brings at most one key of each kind.
    TDenseIds<TRepeatText, TRepeatTextHash> repeatKeys(order.size());
    TDenseIds<std::uint64_t, TNumberHash> memberKeys(order.size());
    std::unordered_map<std::string_view, std::uint32_t> foldedBandOfBand;
    std::unordered_map<std::string, std::uint32_t> foldedBands;
    const TMemberMatcher matcher;
    std::string exchangeUpper;
    std::vector<TScoringRow> rows;
    rows.reserve(order.size());
    for (const std::uint32_t c : order) {
        const TCheckContact& contact = log.Contacts[c];
        const std::string_view band = CellOf(log, contact, kRowBand);
        TScoringRow row;
        row.Contact = c;
        row.RepeatKey = repeatKeys.IdOf(TRepeatText{CellOf(log, contact, kRowCall), band, CellOf(log, contact, kRowMode)});
        // The exchange upper-cased in place (the scorer's UpperAsciiLetters
        // without a new string for every row).
        exchangeUpper.assign(CellOf(log, contact, kRowReceived));
        for (char& letter : exchangeUpper)
            if (letter >= 'a' && letter <= 'z')
                letter = static_cast<char>(letter - 'a' + 'A');
        const std::string_view exchange = TrimControlAndSpace(exchangeUpper);
        row.Points = matcher.ContainsMemberPrefix(exchange) ? 3 : 1;
        row.MemberKey = kNoIndex;
        if (const std::string_view member = matcher.FindMemberNumber(exchange); !member.empty()) {
            auto folded = foldedBandOfBand.find(band);
            if (folded == foldedBandOfBand.end()) {
                const std::uint32_t id = foldedBands.emplace(FoldAsciiCase(band), Count32(foldedBands)).first->second;
                folded = foldedBandOfBand.emplace(band, id).first;
            }
            const std::uint64_t key = (static_cast<std::uint64_t>(folded->second) << 32) | MemberNumberCode(member);
            row.MemberKey = memberKeys.IdOf(key);
        }
        rows.push_back(row);
    }
    return rows;
}

// The plug-in's rebuild over the rows that `take` accepts, in their order:
// a row repeating the call, band and mode of an earlier one counts nothing
// (its result is -1), any other earns its points, and each member number
// counts once on each band. Returns the claimed score of the statistics
// (points times members); `scored` gets each row's result.
template <typename Take, typename Scored>
std::int64_t RunRules(const std::vector<TScoringRow>& rows, Take take, Scored scored)
{
    // Keys are numbered densely from 0 in order of rows, so fewer than rows.
    std::vector<bool> repeatSeen(rows.size(), false);
    std::vector<bool> memberSeen(rows.size(), false);
    std::int64_t points = 0;
    std::int64_t members = 0;
    for (const TScoringRow& row : rows) {
        if (!take(row.Contact))
            continue;
        if (repeatSeen[row.RepeatKey]) {
            scored(row.Contact, -1);
            continue;
        }
        repeatSeen[row.RepeatKey] = true;
        points += row.Points;
        if (row.MemberKey != kNoIndex && !memberSeen[row.MemberKey]) {
            memberSeen[row.MemberKey] = true;
            ++members;
        }
        scored(row.Contact, row.Points);
    }
    return points * members;
}

}  // namespace

void ScoreClaimed(TCheckRun& run, unsigned jobs)
{
    ForEachLogInParallel(run, jobs, [](TCheckLog& log) {
        log.ScoringRows = ScoringRowsOf(log);
        for (const TScoringRow& row : log.ScoringRows)
            log.Contacts[row.Contact].RepeatKey = row.RepeatKey;
        log.ClaimedScore = RunRules(
            log.ScoringRows, [](std::uint32_t) { return true; },
            [&log](std::uint32_t c, std::int32_t result) { log.Contacts[c].ClaimedResult = static_cast<std::int8_t>(result); });
        log.ClaimedContacts = log.ScoringRows.size();
    });
}

void ScoreChecked(TCheckRun& run, unsigned jobs)
{
    const std::int64_t penalty = run.Options.NilPenalty;
    const bool removeUniques = run.Options.RemoveUniques;
    ForEachLogInParallel(run, jobs, [penalty, removeUniques](TCheckLog& log) {
        std::int64_t penaltyPoints = 0;
        std::fill(std::begin(log.VerdictCounts), std::end(log.VerdictCounts), 0);
        log.CheckedContacts = 0;
        for (TCheckContact& contact : log.Contacts) {
            ++log.VerdictCounts[static_cast<std::size_t>(contact.Verdict)];
            contact.CheckedPoints = 0;
            if (IsCopyingError(contact.Verdict) && contact.ClaimedResult > 0) {
                contact.CheckedPoints = -penalty * contact.ClaimedResult;
                penaltyPoints += penalty * contact.ClaimedResult;
            }
        }
        const auto credited = [&log, removeUniques](std::uint32_t c) {
            const TVerdict verdict = log.Contacts[c].Verdict;
            return KeepsCredit(verdict) && !(removeUniques && verdict == TVerdict::Unique);
        };
        // The same order, less the contacts that lost credit: what the
        // database returns for a log holding only the credited contacts.
        const std::int64_t score = RunRules(log.ScoringRows, credited, [&log](std::uint32_t c, std::int32_t result) {
            log.Contacts[c].CheckedPoints = std::max(0, result);
            ++log.CheckedContacts;
        });
        log.CheckedScore = score - penaltyPoints;
        // Nothing reads the rows after this; a large contest is better off
        // without them while its reports are written.
        std::vector<TScoringRow>().swap(log.ScoringRows);
    });
}
