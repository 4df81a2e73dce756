// The host's records: the input is a run of whole 5,916-byte TPluginData
// records (the last one padded with zeros), each sent down the path the entry
// points take: the whole-record copy, a preview and an add of its contact, a
// member-number look-up written into a host buffer, and the plug-in
// information written over host bytes. Then the same records are replayed as
// a log table through the rebuild, which must reach the same state.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "FuzzCheck.h"
#include "ReportCheck.h"
#include "members/MemberList.h"
#include "plugin/EntryPoints.h"
#include "plugin/PluginRecords.h"
#include "recalc/RecalcFromLog.h"
#include "scoring/ContestScorer.h"
#include "scoring/StatisticReport.h"
#include "support/TableLogQuery.h"

namespace {

// A long log adds nothing a mutation could not show with a short one.
constexpr std::size_t kMaxRecords = 8;

// The statistics window as the entry points see it: the scorer reading the
// contact from the copy the entry point has just made.
class TFuzzWindow final : public TScoringWindow {
public:
    TFuzzWindow(const TPluginData& currentData, const TMemberList& memberList)
        : CurrentData_(currentData), MemberList_(memberList)
    {
    }

    std::int32_t ScoreQSO(bool add) override { return Scorer.ScoreQSO(ContactOf(CurrentData_), add); }
    void SortQSOList() override { Scorer.SortQSOList(); }
    void ShowStatistic() override { Report = StatisticReportText(Scorer.StatList()); }
    std::string FindMemberNumber() const override
    {
        return ::FindMemberNumber(MemberList_, SlotView(CurrentData_.CallSign));
    }

    TContestScorer Scorer;
    std::string Report;

private:
    const TPluginData& CurrentData_;
    const TMemberList& MemberList_;
};

const TMemberList& FixedMemberList()
{
    static const TMemberList list = SplitMemberLines("K1ABC=123\r\n  DL1XYZ=VC42  \n\tW1AW=1234567\n=9\n"
                                                     "AAAAAAAAAAAAAA=1\nK1ABC =7\nG4ABC=\nG4ABC=55\n");
    return list;
}

std::vector<TPluginData> RecordsOf(const std::uint8_t* data, std::size_t size)
{
    std::vector<TPluginData> records;
    for (std::size_t at = 0; at < size && records.size() < kMaxRecords; at += sizeof(TPluginData)) {
        TPluginData record;
        std::memset(&record, 0, sizeof record);
        std::memcpy(&record, data + at, std::min(sizeof record, size - at));
        records.push_back(record);
    }
    return records;
}

bool SameBytes(const void* a, const void* b, std::size_t size) { return std::memcmp(a, b, size) == 0; }

// Writes `text` into a slot full of a pattern: only the length byte and the
// characters may change.
void CheckSlotWrite(std::string_view text, std::uint8_t pattern)
{
    TShortStringSlot slot;
    std::memset(slot.Bytes, pattern, sizeof slot.Bytes);
    WriteSlot(slot, text);
    const std::size_t length = std::min<std::size_t>(text.size(), 255);
    FUZZ_CHECK(slot.Bytes[0] == length, "length byte of " + Escaped(text));
    FUZZ_CHECK(SameBytes(slot.Bytes + 1, text.data(), length), "characters of " + Escaped(text));
    for (std::size_t at = length + 1; at < sizeof slot.Bytes; ++at)
        FUZZ_CHECK(slot.Bytes[at] == pattern, "byte " + std::to_string(at) + " after " + Escaped(text));
    FUZZ_CHECK(ReadSlot(slot) == text.substr(0, length), "read back " + Escaped(text));
}

// _GetInfo over host bytes taken from the record: only 0-10, 256-274 and
// 516-519 may change, and they must hold the name, kind and the two ones.
void CheckPluginInfo(const TPluginData& hostBytes)
{
    static_assert(sizeof(TPluginInfo) <= sizeof(TPluginData));
    TPluginInfo info;
    std::memcpy(&info, &hostBytes, sizeof info);
    GetInfoEntry(&info);
    const auto* before = reinterpret_cast<const std::uint8_t*>(&hostBytes);
    const auto* after = reinterpret_cast<const std::uint8_t*>(&info);
    for (std::size_t at = 0; at < sizeof info; ++at) {
        const bool written = at <= 10 || (at >= 256 && at <= 274) || (at >= 516 && at <= 519);
        if (!written)
            FUZZ_CHECK(after[at] == before[at], "GetInfo changed byte " + std::to_string(at));
    }
    const std::int32_t one = 1;
    FUZZ_CHECK(SlotView(info.PluginName) == kPluginName && SlotView(info.PluginKind) == kPluginKind, "GetInfo texts");
    FUZZ_CHECK(SameBytes(after + 256, &one, 4) && SameBytes(after + 516, &one, 4), "GetInfo integers");
}

void CheckSameState(const TContestScorer& a, const TContestScorer& b, const char* what)
{
    FUZZ_CHECK(StatisticReportText(a.StatList()) == StatisticReportText(b.StatList()), std::string(what) + ": report");
    FUZZ_CHECK(a.MemberKeys() == b.MemberKeys(), std::string(what) + ": member keys");
    FUZZ_CHECK(std::equal(a.QSOList().begin(), a.QSOList().end(), b.QSOList().begin(), b.QSOList().end(),
                          [](const TQSO& x, const TQSO& y) {
                              return x.Call == y.Call && x.Band == y.Band && x.Mode == y.Mode;
                          }),
               std::string(what) + ": QSOList");
}

TTableLogQuery LogTableOf(const std::vector<TPluginData>& records)
{
    std::vector<TTableLogQuery::TRow> rows;
    for (const TPluginData& record : records) {
        rows.push_back({ReadSlot(record.QSOReportRecived), ReadSlot(record.DXCCPrefix), ReadSlot(record.MainPrefix),
                        ReadSlot(record.CallSign), ReadSlot(record.DigiBand), ReadSlot(record.QSOMode),
                        ReadSlot(record.Continent), ReadSlot(record.ITUZone)});
    }
    return TTableLogQuery(RebuildColumns(), std::move(rows));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<TPluginData> records = RecordsOf(data, size);
    if (records.empty())
        return 0;

    TPluginData currentData;
    std::memset(&currentData, 0xEE, sizeof currentData);
    TFuzzWindow window(currentData, FixedMemberList());
    std::set<std::tuple<std::string, std::string, std::string>> counted;

    for (const TPluginData& record : records) {
        const std::string what = "record of " + Escaped(SlotView(record.CallSign));

        // No address from the host: answered like no window, nothing copied.
        const TPluginData untouched = currentData;
        FUZZ_CHECK(GetScoreEntry(currentData, nullptr, &window) == 0 && AddQSOEntry(currentData, nullptr, &window) == 0,
                   "a null record");
        FUZZ_CHECK(SameBytes(&currentData, &untouched, sizeof currentData), "a null record changed CurrentData");

        const std::int32_t preview = GetScoreEntry(currentData, &record, &window);
        FUZZ_CHECK(SameBytes(&currentData, &record, sizeof record), what + ": the copy is not byte for byte");
        const std::size_t entries = window.Scorer.QSOList().size();
        const std::string reportBefore = StatisticReportText(window.Scorer.StatList());

        const std::int32_t added = AddQSOEntry(currentData, &record, &window);
        FUZZ_CHECK(preview == added, what + ": preview " + std::to_string(preview) + ", added " + std::to_string(added));
        const TContact contact = ContactOf(record);
        const bool repeated =
            !counted.emplace(std::string(contact.CallSign), std::string(contact.DigiBand), std::string(contact.QSOMode))
                 .second;
        FUZZ_CHECK((added == -1) == repeated, what + ": duplicate answer " + std::to_string(added));
        FUZZ_CHECK(window.Scorer.QSOList().size() == entries + (repeated ? 0 : 1), what + ": QSOList size");
        if (repeated)
            FUZZ_CHECK(window.Report == reportBefore, what + ": a duplicate changed the report");
        CheckReportAgainstTallies(window.Report, window.Scorer.StatList());

        // The copy of a record onto itself, as a host handing back our copy.
        CopyRecord(currentData, currentData);
        FUZZ_CHECK(SameBytes(&currentData, &record, sizeof record), what + ": a copy onto itself changed it");

        TShortStringSlot result;
        const std::uint8_t pattern = record.ReservedHost1[0];
        std::memset(result.Bytes, pattern, sizeof result.Bytes);
        GrabNumberEntry(currentData, &record, &window, &result);
        const std::string number = FindMemberNumber(FixedMemberList(), contact.CallSign);
        FUZZ_CHECK(number.size() <= 5 && ReadSlot(result) == number, what + ": member number " + Escaped(number));
        for (std::size_t at = number.size() + 1; at < sizeof result.Bytes; ++at)
            FUZZ_CHECK(result.Bytes[at] == pattern, what + ": member number buffer byte " + std::to_string(at));

        CheckSlotWrite(contact.QSOReportRecived, pattern);
        CheckSlotWrite(std::string(contact.QSOReportRecived) + std::string(contact.CallSign) +
                           std::string(contact.DigiBand),
                       static_cast<std::uint8_t>(~pattern));
        CheckPluginInfo(record);
    }

    // The rebuild over a table of the same rows in the same order reaches the
    // state that adding them one by one did.
    TTableLogQuery query = LogTableOf(records);
    TContestScorer rebuilt;
    rebuilt.ScoreQSO({"STALE", "160", "CW", "VC1"}, true);  // emptied by the rebuild
    TPluginData rebuildData = currentData;
    int reportsCleared = 0;
    int messagePasses = 0;
    RecalcFromLog(rebuildData, rebuilt, query, {[&] { ++reportsCleared; }, [&] { ++messagePasses; }});
    CheckSameState(rebuilt, window.Scorer, "rebuild against adding");
    FUZZ_CHECK(reportsCleared == 1 && messagePasses == 1 && !query.IsOpen(), "rebuild steps");
    FUZZ_CHECK(query.Statement() == "Select * from " + ReadSlot(currentData.TableName) + " order by CallSign",
               "statement " + Escaped(query.Statement()));

    // Afterwards the copy holds the last row's fields (the continent upper-
    // cased) but the band it had before; every other byte is as it was.
    const TPluginData& last = records.back();
    FUZZ_CHECK(SameBytes(&rebuildData.DigiBand, &currentData.DigiBand, 1 + currentData.DigiBand.Bytes[0]),
               "rebuild restores DigiBand");
    for (const auto field : {&TPluginData::CallSign, &TPluginData::QSOMode, &TPluginData::QSOReportRecived,
                             &TPluginData::MainPrefix, &TPluginData::DXCCPrefix, &TPluginData::ITUZone})
        FUZZ_CHECK(SlotView(rebuildData.*field) == SlotView(last.*field), "rebuild leaves the last row's fields");
    std::string continent = ReadSlot(last.Continent);
    for (char& c : continent)
        c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    FUZZ_CHECK(ReadSlot(rebuildData.Continent) == continent, "rebuild upper-cases the continent");
    struct TRange {
        std::size_t Offset;
        std::size_t Size;
    };
    for (const TRange range : {TRange{0, offsetof(TPluginData, CallSign)},
                               TRange{offsetof(TPluginData, ReservedHost2), sizeof currentData.ReservedHost2},
                               TRange{offsetof(TPluginData, ReservedHost3), sizeof currentData.ReservedHost3},
                               TRange{offsetof(TPluginData, ReservedHost4), sizeof currentData.ReservedHost4},
                               TRange{offsetof(TPluginData, ReservedHost5), sizeof currentData.ReservedHost5},
                               TRange{offsetof(TPluginData, CaptionPrefix),
                                      sizeof(TPluginData) - offsetof(TPluginData, CaptionPrefix)}}) {
        const auto* before = reinterpret_cast<const std::uint8_t*>(&currentData) + range.Offset;
        const auto* after = reinterpret_cast<const std::uint8_t*>(&rebuildData) + range.Offset;
        FUZZ_CHECK(SameBytes(before, after, range.Size),
                   "rebuild touched bytes at " + std::to_string(range.Offset) + " outside the row fields");
    }
    return 0;
}
