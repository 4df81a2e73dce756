// The log query against host ADO objects that answer only the interface
// identifiers of ADO 2.5 and earlier, as the ADO of Windows 2000, XP, Vista
// and 7 before SP1 does: a rebuild must read the same table, and the
// database's own error text must still reach the user.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "hostado/HostAdo.h"
#include "plugin/PluginRecords.h"
#include "recalc/AdoLogQuery.h"
#include "recalc/ComSupport.h"
#include "recalc/RecalcFromLog.h"
#include "scoring/ContestScorer.h"
#include "scoring/StatisticReport.h"

using hostado::TAdoInterfaces;
using hostado::TCell;
using hostado::TFaultPoint;
using hostado::TLogDatabase;
using hostado::TLogTable;

namespace {

constexpr CLSID kRecordsetClass = {0x00000535, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};
constexpr IID kNewestRecordset = {0x00001556, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};

std::shared_ptr<TLogDatabase> ContestLog()
{
    auto database = std::make_shared<TLogDatabase>();
    TLogTable& log = database->AddTable("QSOs", {"CallSign", "DigiBand", "QSOMode", "QSOReportRecived", "DXCCPrefix",
                                                 "MainPrefix", "Continent", "ITUZone"});
    const struct {
        const char* Call;
        const char* Band;
        const char* Mode;
        const char* Exchange;
    } rows[] = {
        {"DL1ABC", "20", "CW", "599 VC12"}, {"OK1XYZ", "20", "CW", "599 VC7"}, {"DL1ABC", "20", "CW", "599 VC12"},
        {"W1AW", "40", "SSB", "59 001"},    {"G4ABC", "40", "CW", "599 VC12"}, {"dl1abc", "20", "CW", "599"},
    };
    for (const auto& row : rows)
        log.AddRow({std::string(row.Call), std::string(row.Band), std::string(row.Mode), std::string(row.Exchange),
                    std::string("DL"), std::string("DL"), std::string("EU"), std::int32_t{28}});
    return database;
}

// One rebuild of the "QSOs" table through the plug-in's query, with the host's
// recordset class answering `answered`; the report text it leaves.
std::string RebuildReport(TAdoInterfaces answered, const std::shared_ptr<TLogDatabase>& database)
{
    TScopedComInit com;
    const hostado::TRecordsetClassRegistration registration(answered);
    const TComPtr<IDispatch> connection(hostado::CreateConnection(database));
    TPluginData data{};
    data.Connection = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(connection.Get()));
    WriteSlot(data.TableName, "QSOs");
    TContestScorer scorer;
    {
        TAdoLogQuery query(connection.Get());
        RecalcFromLog(data, scorer, query, {});
    }
    return StatisticReportText(scorer.StatList());
}

}  // namespace

TEST(OlderAdo, TheHostsObjectsRefuseTheNewestRecordsetInterface)
{
    // Without this the tests below would pass over the newest interface.
    TScopedComInit com;
    const hostado::TRecordsetClassRegistration registration(TAdoInterfaces::OlderOnly);
    TComPtr<IUnknown> recordset;
    EXPECT_EQ(CoCreateInstance(kRecordsetClass, nullptr, CLSCTX_INPROC_SERVER, kNewestRecordset, recordset.PutVoid()),
              E_NOINTERFACE);
}

TEST(OlderAdo, RebuildReadsTheSameTableAsOverTheCurrentAdo)
{
    const auto database = ContestLog();
    const std::string older = RebuildReport(TAdoInterfaces::OlderOnly, database);
    EXPECT_EQ(older, RebuildReport(TAdoInterfaces::Current, database));
    EXPECT_NE(older.find("Score: 11*3=33"), std::string::npos) << older;
    EXPECT_EQ(hostado::LiveObjectCount(), 0u) << "host ADO objects alive after the rebuilds";
}

TEST(OlderAdo, DatabaseFailuresStillCarryTheDatabasesText)
{
    // The error information of each object is tagged with the identifiers of
    // its generation; asked about the newer ones, the text would be lost.
    const TFaultPoint points[] = {TFaultPoint::Open,        TFaultPoint::EndOfTableTest, TFaultPoint::MoveNext,
                                  TFaultPoint::FieldLookup, TFaultPoint::ReadValue,      TFaultPoint::Close};
    for (const TFaultPoint point : points) {
        const auto database = ContestLog();
        const std::string text = "The log file went away (" + std::to_string(static_cast<int>(point)) + ")";
        database->FailOnce(point, text, 1);
        std::string error = "(no error)";
        try {
            RebuildReport(TAdoInterfaces::OlderOnly, database);
        } catch (const TLogQueryError& failure) {
            error = failure.what();
        }
        EXPECT_EQ(error, text);
    }
}
