// Rebuilding the scoring state from the log table, over an in-memory table.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "recalc/RecalcFromLog.h"
#include "support/LoggedContact.h"
#include "support/ReferenceScorer.h"
#include "support/TableLogQuery.h"

namespace {

TPluginData HostRecord(const std::string& table, const std::string& band)
{
    TPluginData record;
    std::memset(&record, 0x33, sizeof record);
    WriteSlot(record.TableName, table);
    WriteSlot(record.DigiBand, band);
    WriteSlot(record.CallSign, "HOST1");
    return record;
}

// The text of the error a rebuild ends with, or "no error".
std::string RebuildError(TPluginData& currentData, TContestScorer& state, TLogQuery& query)
{
    try {
        RecalcFromLog(currentData, state, query, {});
    } catch (const TLogQueryError& error) {
        return error.what();
    }
    return "no error";
}

std::string Repeat(char c, std::size_t count) { return std::string(count, c); }

bool InOrdinalCallOrder(const TQSOList& list)
{
    return std::is_sorted(list.begin(), list.end(), [](const TQSO& a, const TQSO& b) {
        return ReferenceOrdinalCompare(a.Call, b.Call) < 0;
    });
}

}  // namespace

TEST(Rebuild, RowsBecomeCurrentDataAndAreScored)
{
    using TRow = TTableLogQuery::TRow;
    // Column order and name case differ from the order the rebuild reads in.
    TTableLogQuery query({"ituzone", "CallSign", "DigiBand", "QSOMode", "QSOReportRecived", "Continent", "MainPrefix",
                          "DXCCPrefix", "Extra"},
                         {
                             TRow{"8", "K1ABC", "40", "CW", "599 VC12", "na", "K", "K1", "x"},
                             TRow{"8", "K1ABC", "40", "CW", "599", "na", "K", "K1", "x"},
                             TRow{"8", "K1ABC", "20", "CW", std::nullopt, "na", "K", "K1", "x"},
                             TRow{"28", "ZZ9ZZ", "40", "SSB", Repeat('r', 300), "eu\xE9z", "ZZ", "ZZ9", "x"},
                         });
    TPluginData currentData = HostRecord("Log2024", "80");
    const TPluginData before = currentData;
    TContestScorer state;
    state.ScoreQSO({"OLD1", "10", "CW", "VC1"}, true);
    int reportClears = 0;

    RecalcFromLog(currentData, state, query, {[&] { ++reportClears; }, {}});

    EXPECT_EQ(query.Statement(), "Select * from Log2024 order by CallSign");
    EXPECT_FALSE(query.IsOpen()) << "query closed after the run";
    EXPECT_EQ(reportClears, 1) << "the report box is emptied once";
    EXPECT_EQ(ReadSlot(currentData.DigiBand), "80") << "DigiBand restored";
    EXPECT_EQ(ReadSlot(currentData.CallSign), "ZZ9ZZ") << "CallSign of the last row";
    EXPECT_EQ(ReadSlot(currentData.QSOMode), "SSB") << "QSOMode of the last row";
    EXPECT_EQ(ReadSlot(currentData.QSOReportRecived), Repeat('r', 255)) << "a 300-character value is cut to 255";
    EXPECT_EQ(ReadSlot(currentData.Continent), "EU\xE9Z") << "Continent: a-z upper-cased, other codes kept";
    EXPECT_EQ(ReadSlot(currentData.MainPrefix), "ZZ") << "MainPrefix of the last row";
    EXPECT_EQ(ReadSlot(currentData.DXCCPrefix), "ZZ9") << "DXCCPrefix of the last row";
    EXPECT_EQ(ReadSlot(currentData.ITUZone), "28") << "ITUZone of the last row";
    EXPECT_EQ(std::memcmp(&currentData.TableName, &before.TableName, 256), 0) << "TableName untouched";
    EXPECT_EQ(std::memcmp(currentData.ReservedHost3, before.ReservedHost3, sizeof before.ReservedHost3), 0)
        << "reserved bytes untouched";

    ASSERT_EQ(state.StatList().size(), 2u) << "earlier state is gone; bands in row order";
    EXPECT_EQ(state.StatList()[0].Band, "40");
    EXPECT_EQ(state.StatList()[0].QSOs, 2) << "the repeated row is a duplicate";
    EXPECT_EQ(state.StatList()[0].Points, 4) << "3 for VC12, 1 for the 300 r's";
    EXPECT_EQ(state.StatList()[1].Band, "20");
    EXPECT_EQ(state.StatList()[1].Points, 1) << "a NULL exchange reads empty and earns 1";
    EXPECT_EQ(state.MemberKeys(), std::vector<std::string>{"40|VC12|"});
}

TEST(Rebuild, StepOrder)
{
    TTableLogQuery query = TTableLogQuery::OfContacts({{"K1ABC", "20", "CW", ""}});
    TPluginData currentData = HostRecord("Log", "20");
    TContestScorer state;
    RecalcFromLog(currentData, state, query,
                  {[&] { query.Journal().push_back("ClearReport"); },
                   [&] { query.Journal().push_back("PassMessages"); }});

    std::vector<std::string> expected = {"ClearReport", "Close", "SetStatement", "Open", "PassMessages"};
    for (const std::string& column : RebuildColumns())
        expected.push_back("Field:" + column);
    expected.insert(expected.end(), {"Next", "Close"});
    EXPECT_EQ(query.Journal(), expected) << "messages pass right after opening; columns read in their fixed order";
}

TEST(Rebuild, Errors)
{
    using TRow = TTableLogQuery::TRow;
    const std::vector<std::string> withoutITUZone = {"QSOReportRecived", "DXCCPrefix", "MainPrefix", "CallSign",
                                                     "DigiBand",         "QSOMode",    "Continent"};
    const TRow row = {"599", "K1", "K", "K1ABC", "40", "CW", "na"};

    TPluginData currentData = HostRecord("Log", "80");
    TContestScorer state;
    TTableLogQuery noZone(withoutITUZone, {row});
    EXPECT_EQ(RebuildError(currentData, state, noZone), "LogQuery: Field 'ITUZone' not found");
    EXPECT_TRUE(state.StatList().empty()) << "the failing row is not scored";
    EXPECT_EQ(ReadSlot(currentData.DigiBand), "40") << "DigiBand not restored, holds the row's band";

    const std::vector<std::string> withoutPrefixAndZone = {"QSOReportRecived", "MainPrefix", "CallSign", "DigiBand",
                                                           "QSOMode",          "Continent"};
    TTableLogQuery noPrefix(withoutPrefixAndZone, {{"599", "K", "K1ABC", "40", "CW", "na"}});
    EXPECT_EQ(RebuildError(currentData, state, noPrefix), "LogQuery: Field 'DXCCPrefix' not found")
        << "the first missing column in reading order is named";

    TTableLogQuery emptyTable({"CallSign"}, {});
    EXPECT_EQ(RebuildError(currentData, state, emptyTable), "no error") << "no rows, so no column is read";

    TTableLogQuery lost = TTableLogQuery::OfContacts(
        {{"A1A", "20", "CW", "VC1"}, {"B1B", "40", "CW", ""}, {"C1C", "15", "CW", ""}, {"D1D", "10", "CW", ""}});
    lost.FailAtRow(2);
    WriteSlot(currentData.DigiBand, "80");
    EXPECT_EQ(RebuildError(currentData, state, lost), "Connection lost");
    EXPECT_EQ(state.QSOList().size(), 2u) << "rows counted before the error stay";
    EXPECT_EQ(state.MemberKeys(), std::vector<std::string>{"20|VC1|"}) << "with their member keys";
    EXPECT_TRUE(lost.IsOpen()) << "the query is left open";
    EXPECT_EQ(ReadSlot(currentData.DigiBand), "40") << "DigiBand keeps the last band read";
}

TEST(Rebuild, DuplicateCheckHoldsWhenTheDatabaseIgnoresCase)
{
    // Rows in the order a database that sorts calls ignoring case returns
    // them: not ordinal order.
    const std::vector<TLoggedContact> rows = {
        {"k1abc", "20", "CW", ""}, {"K1ABC", "20", "CW", ""}, {"K1abc", "40", "CW", ""}, {"k1abc", "20", "CW", ""},
        {"K1abd", "20", "CW", ""}, {"K1ABC", "20", "CW", ""}, {"k1abd", "20", "CW", ""}, {"K1ABD", "20", "CW", ""},
    };
    TTableLogQuery query = TTableLogQuery::OfContacts(rows);
    TPluginData currentData = HostRecord("Log", "20");
    TContestScorer state;

    // While messages pass, the host logs K1ABD 20 CW, which a later row repeats,
    // and a contact not in the table.
    std::vector<std::int32_t> duringPass;
    auto addDuringPass = [&] {
        for (const TLoggedContact& contact :
             std::vector<TLoggedContact>{{"K1ABD", "20", "CW", ""}, {"ZZ1ZZ", "20", "CW", ""}}) {
            duringPass.push_back(state.ScoreQSO(ContactView(contact), true));
            state.SortQSOList();
        }
    };
    RecalcFromLog(currentData, state, query, {{}, addDuringPass});

    EXPECT_EQ(duringPass, (std::vector<std::int32_t>{1, 1})) << "contacts logged during the pass count";
    EXPECT_TRUE(InOrdinalCallOrder(state.QSOList())) << "QSOList in ordinal call order after the rebuild";
    EXPECT_EQ(state.QSOList().size(), 7u) << "k1abc, K1ABC, K1abc/40, K1abd, k1abd, K1ABD, ZZ1ZZ";
    EXPECT_EQ(state.StatList().at(0).QSOs, 6) << "20 carries all but K1abc/40; the repeated rows are duplicates";
    for (const TLoggedContact& row : rows)
        EXPECT_EQ(state.ScoreQSO(ContactView(row), false), -1)
            << "after the rebuild " << row.CallSign << " " << row.DigiBand;
    EXPECT_EQ(state.ScoreQSO({"K1Abc", "20", "CW", ""}, false), 1) << "a call in a new spelling is new";
}
