// Rebuilding the scoring state from the host's log table: at the first show,
// on "Recalc Statistic", and when the table cannot be read.
#include <optional>

#include "Checks.h"
#include "HostCase.h"
#include "HostSession.h"

namespace host {

// Rows in the database's case-insensitive call order, a duplicate row, a NULL exchange and VC12 on several bands.
HOST_CASE(VcRebuildFromTable, "the report after _Run from a table with awkward rows")
{
    TCaseSession session;
    // Column names in other letter cases and columns the plug-in ignores.
    hostado::TLogTable& table = session.Database.AddTable(
        "Contest", {"Id", "callsign", "DigiBand", "QSOMODE", "QSOReportRecived", "DXCCPrefix", "MainPrefix",
                    "Continent", "ITUZone", "Comment"});
    // Logged in this order; the database returns DK0XX, dl1abc, DL2ZZ, DL2ZZ,
    // OK1AA, OK1AA, ok1aa, S51A, while byte order would put dl1abc and ok1aa
    // last. The second DL2ZZ row is a duplicate the check must still find.
    AddRows(table, {{"S51A", "20m", "CW", std::string("599 vc12")},
                    {"DL2ZZ", "20M", "CW", std::string("599 VC12")},
                    {"dl1abc", "15M", "CW", std::string("599 001")},
                    {"DK0XX", "40M", "SSB", hostado::Null},
                    {"DL2ZZ", "20M", "CW", std::string("599 VC99")},
                    {"OK1AA", "20M", "CW", std::string("vc12")},
                    {"OK1AA", "40M", "CW", std::string("VC12")},
                    {"ok1aa", "40M", "CW", std::string("VC12")}});

    hostkit::THostRecord record = session.Record();
    record.Table("Contest");
    session.Window = session.Plugin().Run(record.Get());
    REQUIRE(session.Window != nullptr, "_Run returns a window");
    CHECK_EQ("", session.Boxes.TakeTexts(), "message boxes during _Run");
    const std::optional<hostado::TOpenRequest>& open = session.Database.Database().LastOpen();
    REQUIRE(open.has_value(), "the rebuild opened a recordset");
    CHECK_EQ("Select * from Contest order by CallSign", open->Statement, "statement of the rebuild");
    CHECK_EQ(3L, open->CursorLocation, "cursor location (adUseClient)");
    CHECK_EQ(1L, open->CursorType, "cursor type (adOpenKeyset)");
    CHECK_EQ(3L, open->LockType, "lock type (adLockOptimistic)");
    CHECK_EQ(ExpectedReport({{"40M", 3, 7, 1}, {"15M", 1, 1, 0}, {"20M", 2, 6, 1}, {"20m", 1, 3, 0}}), session.Report(),
             "report: bands in the order the sorted rows bring them, duplicate row not counted, VC12 once per band "
             "(and '20m|VC12|' matching '20M|VC12|')");

    const auto preview = [&](const char* call, const char* band, const char* mode) {
        hostkit::THostRecord contact = session.Contact(call, band, mode, "599");
        contact.Table("Contest");
        return session.Plugin().GetScore(contact.Get());
    };
    CHECK_EQ(-1, preview("dl1abc", "15M", "CW"), "_GetScore of row dl1abc after the rebuild");
    CHECK_EQ(-1, preview("DL2ZZ", "20M", "CW"), "_GetScore of row DL2ZZ after the rebuild");
    CHECK_EQ(-1, preview("ok1aa", "40M", "CW"), "_GetScore of row ok1aa after the rebuild");
    CHECK_EQ(-1, preview("S51A", "20m", "CW"), "_GetScore of row S51A after the rebuild");
    CHECK_EQ(-1, preview("DK0XX", "40M", "SSB"), "_GetScore of row DK0XX after the rebuild");
    CHECK_EQ(1, preview("DL1ABC", "15M", "CW"), "_GetScore of DL1ABC, which the table has in lower case only");
    CHECK_EQ(1, preview("S51A", "20M", "CW"), "_GetScore of S51A on '20M', which the table has as '20m'");

    hostkit::THostRecord repeat = session.Contact("dl1abc", "15M", "CW", "599");
    repeat.Table("Contest");
    CHECK_EQ(-1, session.Plugin().AddQSO(repeat.Get()), "_AddQSO of a contact equal to a table row");
}

// A second _Run keeps the window, neither rebuilds nor copies its record; the button rebuilds.
HOST_CASE(VcRebuildSecondRunAndButton, "second _Run changes nothing; Recalc Statistic rebuilds")
{
    TCaseSession session;
    AddRows(session.Table, {{"DL1ABC", "20M", "CW", std::string("VC12")}});
    const HWND window = session.Run();
    REQUIRE(window != nullptr, "_Run returns a window");
    const std::string first = ExpectedReport({{"20M", 1, 3, 1}});
    CHECK_EQ(first, session.Report(), "report after the first _Run");

    AddRows(session.Table, {{"OK1AA", "40M", "CW", std::string("599")}});
    // Were this record copied, the next rebuild would read a missing table.
    hostkit::THostRecord other = session.Record();
    other.Table("NoSuchTable").Caption("Other");
    CHECK_EQ(window, session.Plugin().Run(other.Get()), "handle from the second _Run");
    CHECK_EQ("", session.Boxes.TakeTexts(), "message boxes from the second _Run");
    CHECK_EQ(first, session.Report(), "report after the second _Run: no rebuild");
    CHECK_EQ("Main in Velmora Cup", hostkit::WindowText(window), "caption after a _Run with another prefix");

    TypeIntoReport(window, "typed by the user");
    hostkit::ClickRecalc(window);
    CHECK_EQ("", session.Boxes.TakeTexts(), "message boxes from Recalc Statistic: the table name is still 'Log'");
    CHECK_EQ(ExpectedReport({{"20M", 1, 3, 1}, {"40M", 1, 1, 0}}), session.Report(),
             "report after Recalc Statistic shows the new row");
    CHECK_EQ(true, hostkit::RecalcEnabled(window), "button enabled after the rebuild");
}

// A rebuild reads the table named by the latest record and forgets contacts added through _AddQSO.
HOST_CASE(VcRebuildUsesLatestTableName, "Recalc Statistic reads the latest record's table and drops added contacts")
{
    TCaseSession session;
    AddRows(session.Table, {{"DL1ABC", "20M", "CW", std::string("VC12")}});
    hostado::TLogTable& second = session.Database.AddTable("Log2");
    AddRows(second, {{"OK1AA", "40M", "CW", std::string("599")}, {"G4XYZ", "40M", "SSB", std::string("VC5")}});
    REQUIRE(session.Run() != nullptr, "_Run returns a window");

    hostkit::THostRecord added = session.Contact("N1XX", "10M", "CW", "599");
    added.Table("Log2");
    CHECK_EQ(1, session.Plugin().AddQSO(added.Get()), "_AddQSO naming table Log2");
    CHECK_EQ(ExpectedReport({{"20M", 1, 3, 1}, {"10M", 1, 1, 0}}), session.Report(), "report after _AddQSO");

    hostkit::ClickRecalc(session.Window);
    CHECK_EQ(ExpectedReport({{"40M", 2, 4, 1}}), session.Report(), "report rebuilt from Log2 alone");
    CHECK_EQ(1, session.Plugin().AddQSO(added.Get()), "_AddQSO of the contact the rebuild dropped");

    // _GrabNumber and _GetScore copy the whole record as well.
    hostkit::THostRecord lookup = session.Record();
    lookup.Call("DL1ABC");
    session.Plugin().GrabNumber(lookup.Get());
    hostkit::ClickRecalc(session.Window);
    CHECK_EQ(ExpectedReport({{"20M", 1, 3, 1}}), session.Report(), "report after _GrabNumber naming table Log");
    hostkit::THostRecord preview = session.Contact("N1XX", "10M", "CW", "599");
    preview.Table("Log2");
    session.Plugin().GetScore(preview.Get());
    hostkit::ClickRecalc(session.Window);
    CHECK_EQ(ExpectedReport({{"40M", 2, 4, 1}}), session.Report(), "report after _GetScore naming table Log2");
}

// Only the connection handed over when the window was made is ever used; later records' connections are ignored.
HOST_CASE(VcRebuildKeepsFirstConnection, "a record with another connection does not change the connection in use")
{
    TCaseSession session;
    AddRows(session.Table, {{"DL1ABC", "20M", "CW", std::string("VC12")}});
    auto otherDatabase = std::make_shared<hostado::TLogDatabase>();
    AddRows(otherDatabase->AddTable(kLogTable, hostkit::StandardColumns()), {{"OK1AA", "40M", "CW", std::string("599")}});
    IDispatch* otherConnection = hostado::CreateConnection(otherDatabase);
    REQUIRE(session.Run() != nullptr, "_Run returns a window");

    hostkit::THostRecord other = session.Contact("N1XX", "10M", "CW", "599");
    other.Connection(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(otherConnection)));
    CHECK_EQ(1, session.Plugin().AddQSO(other.Get()), "_AddQSO carrying another connection");
    hostkit::ClickRecalc(session.Window);
    CHECK_EQ("", session.Boxes.TakeTexts(), "message boxes from the rebuild");
    CHECK_EQ(ExpectedReport({{"20M", 1, 3, 1}}), session.Report(), "report rebuilt over the first connection");
    other.Connection(0);
    CHECK_EQ(1, session.Plugin().AddQSO(other.Get()), "_AddQSO carrying no connection");
    hostkit::ClickRecalc(session.Window);
    CHECK_EQ("", session.Boxes.TakeTexts(), "message boxes from the rebuild after a null connection");
    CHECK_EQ(ExpectedReport({{"20M", 1, 3, 1}}), session.Report(), "report rebuilt after a null connection");
    otherConnection->Release();
}

// A missing table: the provider's text in a box, an empty report, the button usable, the window shown.
HOST_CASE(VcRebuildMissingTable, "a log table that does not exist")
{
    TCaseSession session;
    AddRows(session.Table, {{"DL1ABC", "20M", "CW", std::string("VC12")}});
    hostkit::THostRecord record = session.Record();
    record.Table("NoSuchTable");
    const HWND window = session.Plugin().Run(record.Get());
    session.Window = window;
    REQUIRE(window != nullptr, "_Run returns a window despite the failed rebuild");
    CHECK_EQ("Table 'NoSuchTable' does not exist.", session.Boxes.TakeTexts(), "message box from _Run");
    CHECK_EQ(true, IsWindowVisible(window) != FALSE, "window visible after the failed rebuild");
    CHECK_EQ("", session.Report(), "report after the failed rebuild");
    CHECK_EQ(true, hostkit::RecalcEnabled(window), "button enabled after the failed rebuild");

    hostkit::ClickRecalc(window);
    CHECK_EQ("Table 'NoSuchTable' does not exist.", session.Boxes.TakeTexts(), "message box from the button");
    CHECK_EQ(true, hostkit::RecalcEnabled(window), "button enabled after the second failure");

    CHECK_EQ(3, session.Add("DL1ABC", "20M", "CW", "VC12"), "_AddQSO naming table Log after the failures");
    hostkit::ClickRecalc(window);
    CHECK_EQ("", session.Boxes.TakeTexts(), "message boxes once the table exists");
    CHECK_EQ(ExpectedReport({{"20M", 1, 3, 1}}), session.Report(), "report rebuilt from Log");
}

// Of two columns with the same name (letter case ignored), the first is read.
HOST_CASE(VcRebuildDuplicateColumnName, "a result with QSOMode twice")
{
    TCaseSession session;
    std::vector<std::string> columns = hostkit::StandardColumns();
    columns.push_back("QSOMODE");
    hostado::TLogTable& table = session.Database.AddTable("Twice", columns);
    std::vector<hostado::TCell> cells = {std::string("DL1ABC"), std::string("20M"), std::string("CW"),
                                         std::string("VC12"),   std::string("DL"),  std::string("DL"),
                                         std::string("eu"),     std::int32_t{28},   std::string("SSB")};
    table.AddRow(cells);
    hostkit::THostRecord record = session.Record();
    record.Table("Twice");
    session.Window = session.Plugin().Run(record.Get());
    REQUIRE(session.Window != nullptr, "_Run returns a window");
    hostkit::THostRecord cw = session.Contact("DL1ABC", "20M", "CW");
    cw.Table("Twice");
    CHECK_EQ(-1, session.Plugin().GetScore(cw.Get()), "_GetScore of the row in the first QSOMode column's mode");
    hostkit::THostRecord ssb = session.Contact("DL1ABC", "20M", "SSB");
    ssb.Table("Twice");
    CHECK_EQ(1, session.Plugin().GetScore(ssb.Get()), "_GetScore in the second QSOMode column's mode");
}

// A host that hands over no connection gets a box from the rebuild, and a usable window all the same.
HOST_CASE(VcRebuildNoConnection, "_Run with a record whose Connection is 0")
{
    TCaseSession session;
    hostkit::THostRecord record = session.Record();
    record.Connection(0);
    const HWND window = session.Plugin().Run(record.Get());
    session.Window = window;
    REQUIRE(window != nullptr, "_Run returns a window without a connection");
    const std::vector<hostkit::TCaughtBox> boxes = session.Boxes.Take();
    CHECK_EQ(1u, boxes.size(), "message boxes from the rebuild without a connection");
    CHECK_EQ(true, IsWindowVisible(window) != FALSE, "window visible");
    CHECK_EQ("", session.Report(), "report after the failed rebuild");
    CHECK_EQ(true, hostkit::RecalcEnabled(window), "button enabled after the failed rebuild");
    CHECK_EQ(3, session.Add("DL1ABC", "20M", "CW", "VC12"), "_AddQSO still scores");
}

// The box text gets a full stop unless it ends in '.' or a character before it.
HOST_CASE(VcRebuildErrorTextFullStop, "provider error texts in the box, with the full-stop rule")
{
    TCaseSession session;
    session.Database.Database().FailOnce(hostado::TFaultPoint::Open, "Locked by another user");
    const HWND window = session.Run();
    REQUIRE(window != nullptr, "_Run returns a window");
    CHECK_EQ("Locked by another user.", session.Boxes.TakeTexts(), "text ending in a letter");

    const char* const texts[][2] = {{"Disk is full.", "Disk is full."},
                                    {"Lost link (08S01)", "Lost link (08S01)"},
                                    {"Code -", "Code -"},
                                    {"Path C:/", "Path C:/."},
                                    {"Error 42", "Error 42."}};
    for (const auto& text : texts) {
        session.Database.Database().FailOnce(hostado::TFaultPoint::Open, text[0]);
        hostkit::ClickRecalc(window);
        CHECK_EQ(text[1], session.Boxes.TakeTexts(), std::string("box for provider text '") + text[0] + "'");
        CHECK_EQ("", session.Report(), "report after a failed open");
    }
}

// A read failing on the second row keeps what the first row counted and leaves the report empty.
HOST_CASE(VcRebuildFailureMidTable, "a read error in the middle of the table")
{
    TCaseSession session;
    AddRows(session.Table, {{"AA1AA", "20M", "CW", std::string("VC1")},
                            {"BB1BB", "20M", "CW", std::string("599")},
                            {"CC1CC", "40M", "CW", std::string("599")}});
    session.Database.Database().FailOnce(hostado::TFaultPoint::ReadValue, "Read error in row 2", 1);
    const HWND window = session.Run();
    REQUIRE(window != nullptr, "_Run returns a window");
    CHECK_EQ("Read error in row 2.", session.Boxes.TakeTexts(), "message box from the failed read");
    CHECK_EQ("", session.Report(), "report after the failed read");
    CHECK_EQ(true, hostkit::RecalcEnabled(window), "button enabled after the failed read");
    CHECK_EQ(-1, session.Preview("AA1AA", "20M", "CW"), "row 1 was counted before the error");
    CHECK_EQ(1, session.Preview("BB1BB", "20M", "CW"), "row 2 was not counted");
    CHECK_EQ(1, session.Preview("CC1CC", "40M", "CW"), "row 3 was not counted");

    hostkit::ClickRecalc(window);
    CHECK_EQ("", session.Boxes.TakeTexts(), "message boxes from the next rebuild");
    CHECK_EQ(ExpectedReport({{"20M", 2, 4, 1}, {"40M", 1, 1, 0}}), session.Report(), "report of the next rebuild");
}

// A missing column is named in the box as "LogQuery: Field '<name>' not found." (the first in reading order).
HOST_CASE(VcRebuildMissingColumn, "a table without ITUZone, or without DXCCPrefix and ITUZone")
{
    TCaseSession session;
    AddRows(session.Database.AddTable("NoZone", ColumnsWithout({"ITUZone"})),
            {{"DL1ABC", "20M", "CW", std::string("VC12")}, {"OK1AA", "40M", "CW", std::string("599")}});
    AddRows(session.Database.AddTable("NoPrefixNoZone", ColumnsWithout({"DXCCPrefix", "ITUZone"})),
            {{"G4XYZ", "15M", "CW", std::string("599")}});

    hostkit::THostRecord record = session.Record();
    record.Table("NoZone");
    const HWND window = session.Plugin().Run(record.Get());
    session.Window = window;
    REQUIRE(window != nullptr, "_Run returns a window");
    CHECK_EQ("LogQuery: Field 'ITUZone' not found.", session.Boxes.TakeTexts(), "box for the missing ITUZone");
    CHECK_EQ("", session.Report(), "report after the missing column");
    CHECK_EQ(true, hostkit::RecalcEnabled(window), "button enabled after the missing column");
    CHECK_EQ(true, IsWindowVisible(window) != FALSE, "window visible after the missing column");
    hostkit::THostRecord firstRow = session.Contact("DL1ABC", "20M", "CW", "VC12");
    firstRow.Table("NoZone");
    CHECK_EQ(3, session.Plugin().GetScore(firstRow.Get()), "the first row was not counted");

    hostkit::THostRecord other = session.Contact("N1XX", "10M", "CW", "599");
    other.Table("NoPrefixNoZone");
    CHECK_EQ(1, session.Plugin().AddQSO(other.Get()), "_AddQSO naming table NoPrefixNoZone");
    hostkit::ClickRecalc(window);
    CHECK_EQ("LogQuery: Field 'DXCCPrefix' not found.", session.Boxes.TakeTexts(),
             "box for the missing DXCCPrefix and ITUZone");
}

// A table without rows reads no column, so missing columns raise nothing.
HOST_CASE(VcRebuildEmptyTableMissingColumns, "a table with only CallSign and no rows rebuilds cleanly")
{
    TCaseSession session;
    session.Database.AddTable("Bare", {"CallSign"});
    hostkit::THostRecord record = session.Record();
    record.Table("Bare");
    session.Window = session.Plugin().Run(record.Get());
    REQUIRE(session.Window != nullptr, "_Run returns a window");
    CHECK_EQ("", session.Boxes.TakeTexts(), "message boxes for an empty table missing seven columns");
    CHECK_EQ(kEmptyReport, session.Report(), "report of the empty table");
}

// Values longer than 255 characters are cut; numbers arrive as decimal text; bytes above 127 survive.
HOST_CASE(VcRebuildValueConversion, "long texts, integer cells and 8-bit characters from the table")
{
    TCaseSession session;
    const std::string longCall = "LONG" + std::string(296, 'X');          // 300 characters
    const std::string lateMember = std::string(280, '5') + " VC12";        // VC12 past character 255
    const std::string accented = "F5\xC9T\xC9";
    std::vector<hostado::TCell> cells;
    for (const std::string& column : session.Table.Columns()) {
        if (column == "CallSign")
            cells.emplace_back(longCall);
        else if (column == "DigiBand")
            cells.emplace_back(std::int32_t{20});
        else if (column == "QSOMode")
            cells.emplace_back(std::string("CW"));
        else if (column == "QSOReportRecived")
            cells.emplace_back(lateMember);
        else
            cells.emplace_back(hostado::Null);
    }
    session.Table.AddRow(cells);
    AddRows(session.Table, {{accented, "40M", "SSB", std::string("599")}});

    REQUIRE(session.Run() != nullptr, "_Run returns a window");
    CHECK_EQ("", session.Boxes.TakeTexts(), "message boxes during the rebuild");
    CHECK_EQ(ExpectedReport({{"40M", 1, 1, 0}, {"20", 1, 1, 0}}), session.Report(),
             "report: band 20 from an integer cell, the exchange cut before its VC12");
    CHECK_EQ(-1, session.Preview(longCall.substr(0, 255), "20", "CW"), "_GetScore of the call cut to 255 characters");
    CHECK_EQ(-1, session.Preview(accented, "40M", "SSB"), "_GetScore of the call with bytes above 127");
}

}  // namespace host
