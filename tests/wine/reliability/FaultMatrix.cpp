// The log database failing at each call a rebuild makes of it: opening, the
// past-the-end test, moving to the next row, finding a column, reading a
// value and closing, at chosen rows and with chosen provider texts, on both
// ways a rebuild starts (the first show inside _Run, and a press of "Recalc
// Statistic"). After each failure the message box shows the provider's text
// under the full-stop rule, the scoring state holds exactly the rows counted
// before the failure, the report box is empty, the button is enabled again,
// and the next press rebuilds the whole table.
//
// A member file held open for writing by another handle is covered by the
// integration case VcMemberFileLocked and not repeated here.
#include <cstdio>
#include <string>
#include <vector>

#include "Checks.h"
#include "SuiteHost.h"
#include "Suites.h"
#include "hostado/HostAdo.h"
#include "hostkit/HostWindows.h"
#include "support/ReferenceScorer.h"

namespace reliability {

namespace {

using hostado::TFaultPoint;

struct TRow {
    const char* Call;
    const char* Band;
    const char* Mode;
    const char* Exchange;
};

// Added in this order; the database returns them sorted by call, which is
// the order the rows below are listed in kResultOrder. Every contact is
// distinct, so after a rebuild a counted row previews as -1 and an uncounted
// one as its points.
const TRow kAdded[] = {{"DL3CC", "40M", "CW", "599 VC7"},
                       {"AA1AA", "20M", "CW", "VC12"},
                       {"OK5EE", "20M", "SSB", "599"},
                       {"BB2BB", "20M", "CW", "599 VC12"},
                       {"G4DDD", "80M", "CW", "vc99"}};
const TRow kResultOrder[] = {{"AA1AA", "20M", "CW", "VC12"},
                             {"BB2BB", "20M", "CW", "599 VC12"},
                             {"DL3CC", "40M", "CW", "599 VC7"},
                             {"G4DDD", "80M", "CW", "vc99"},
                             {"OK5EE", "20M", "SSB", "599"}};
constexpr std::size_t kRows = std::size(kResultOrder);

struct TCell {
    TFaultPoint Point;
    std::size_t Row;
    // Rows of the result the rebuild has counted when the failure stops it.
    std::size_t Counted;
};

const char* PointName(TFaultPoint point)
{
    switch (point) {
    case TFaultPoint::Open: return "open";
    case TFaultPoint::EndOfTableTest: return "past-the-end test";
    case TFaultPoint::MoveNext: return "next";
    case TFaultPoint::FieldLookup: return "column lookup";
    case TFaultPoint::ReadValue: return "reading a value";
    case TFaultPoint::Close: return "close";
    }
    return "?";
}

// The failures and what each leaves counted. A failing past-the-end test,
// column lookup or read at row r stops before row r is scored; a failing
// next at row r after it. The test at row 5 is the one past the last row.
// Open and Close ignore the row: open fails before any row, and the close
// that fails is the one after the last row (the query is already closed when
// a rebuild starts), so every row is counted; the report is written only
// after that close, so the report box stays empty then as well.
std::vector<TCell> Cells()
{
    std::vector<TCell> cells = {{TFaultPoint::Open, 0, 0}};
    for (const std::size_t row : {std::size_t{0}, std::size_t{2}, kRows})
        cells.push_back({TFaultPoint::EndOfTableTest, row, row});
    for (const TFaultPoint point : {TFaultPoint::FieldLookup, TFaultPoint::ReadValue})
        for (const std::size_t row : {std::size_t{0}, std::size_t{2}, kRows - 1})
            cells.push_back({point, row, row});
    for (const std::size_t row : {std::size_t{0}, std::size_t{2}, kRows - 1})
        cells.push_back({TFaultPoint::MoveNext, row, row + 1});
    cells.push_back({TFaultPoint::Close, 0, kRows});
    return cells;
}

struct TText {
    const char* Provider;
    const char* Shown;
};

// A full stop is added only when the last character sorts after '.', as an
// unsigned code: '-' (0x2D) and '!' (0x21) come before it, '/' (0x2F) and
// 0xE4 after it.
const TText kTexts[] = {{"Lost link", "Lost link."},
                        {"Disk is full.", "Disk is full."},
                        {"Code -", "Code -"},
                        {"Path C:/", "Path C:/."},
                        {"Quota exceeded!", "Quota exceeded!"},
                        {"Zugriff verweigert \xE4", "Zugriff verweigert \xE4."}};

std::string FullReport()
{
    TReferenceScorer scorer;
    for (const TRow& row : kResultOrder)
        scorer.AddQSO({row.Call, row.Band, row.Mode, row.Exchange});
    return scorer.ReportText();
}

std::int32_t PointsOf(const TRow& row)
{
    TReferenceScorer empty;
    return empty.ScoreQSO({row.Call, row.Band, row.Mode, row.Exchange}, false);
}

class TFaultRun {
public:
    explicit TFaultRun(const TOptions& options) : Bench_(SuiteSession(options.DllPath))
    {
        for (const TRow& row : kAdded)
            Bench_.AddRow(row.Call, row.Band, row.Mode, row.Exchange);
        BaselineAdoObjects_ = hostado::LiveObjectCount();
    }

    // A press of "Recalc Statistic" on a window that was rebuilt cleanly.
    void ThroughButton(const TCell& cell, const TText& text)
    {
        const std::string where = Where("button", cell, text);
        if (!EnsureWindow(where))
            return;
        Bench_.Database.Database().FailOnce(cell.Point, text.Provider, cell.Row);
        hostkit::ClickRecalc(Window_);
        CheckAfterFailure(where, cell, text);
        CheckNextRebuild(where);
    }

    // The first show of a new window, inside _Run.
    void ThroughRun(const TCell& cell, const TText& text)
    {
        const std::string where = Where("_Run", cell, text);
        CloseWindow();
        Bench_.Database.Database().FailOnce(cell.Point, text.Provider, cell.Row);
        const hostkit::THostRecord record = Bench_.Record();
        Window_ = Bench_.Plugin().Run(record.Get());
        if (!CHECK(Window_ != nullptr, where + ": _Run returns a window although its rebuild failed", ""))
            return;
        CHECK(IsWindowVisible(Window_) != FALSE, where + ": window visible after the failed rebuild", "");
        CheckAfterFailure(where, cell, text);
        CheckNextRebuild(where);
    }

    // A provider that gives no text: the box still says what failed.
    void WithoutProviderText(const TCell& cell)
    {
        const std::string where = std::string("button, ") + PointName(cell.Point) + " failing without a text";
        if (!EnsureWindow(where))
            return;
        Bench_.Database.Database().FailOnce(cell.Point, "", cell.Row);
        hostkit::ClickRecalc(Window_);
        const std::vector<hostkit::TCaughtBox> boxes = Bench_.Boxes.Take();
        if (CHECK_EQ(std::size_t{1}, boxes.size(), where + ": message boxes"))
            CHECK(boxes[0].Text.rfind("LogQuery: ", 0) == 0, where + ": the box names the query and the step",
                        "got " + host::Quote(boxes[0].Text));
        CHECK_EQ("", hostkit::ReportText(Window_), where + ": report box");
        CheckNextRebuild(where);
    }

    // Every window gone: the plug-in has let go of every ADO object it had.
    void CheckNoAdoObjectsLeft()
    {
        CloseWindow();
        CHECK_EQ(BaselineAdoObjects_, hostado::LiveObjectCount(),
                     "live ADO objects after every window of the matrix is gone");
        CHECK_EQ(0, CountStatisticsWindows(), "statistics windows left after the matrix");
    }

private:
    static std::string Where(const char* path, const TCell& cell, const TText& text)
    {
        return std::string(path) + ", " + PointName(cell.Point) + " at row " + std::to_string(cell.Row) + ", text " +
               host::Quote(text.Provider);
    }

    bool EnsureWindow(const std::string& where)
    {
        if (Window_ && IsWindow(Window_))
            return true;
        const hostkit::THostRecord record = Bench_.Record();
        Window_ = Bench_.Plugin().Run(record.Get());
        const std::string boxes = Bench_.Boxes.TakeTexts();
        return CHECK(Window_ != nullptr, where + ": _Run gives a window", "") &&
               CHECK_EQ("", boxes, where + ": message boxes of a clean _Run");
    }

    void CloseWindow()
    {
        if (Window_)
            SendMessageA(Window_, WM_CLOSE, 0, 0);
        hostkit::PumpMessagesFor(20);
        Window_ = nullptr;
        CHECK_EQ("", Bench_.Boxes.TakeTexts(), "message boxes while closing a window");
    }

    void CheckAfterFailure(const std::string& where, const TCell& cell, const TText& text)
    {
        const std::vector<hostkit::TCaughtBox> boxes = Bench_.Boxes.Take();
        if (CHECK_EQ(std::size_t{1}, boxes.size(), where + ": message boxes"))
            CHECK_EQ(std::string(text.Shown), boxes[0].Text, where + ": text of the box");
        CHECK_EQ("", hostkit::ReportText(Window_), where + ": report box after the failed rebuild");
        CHECK(hostkit::RecalcEnabled(Window_), where + ": \"Recalc Statistic\" enabled again", "");
        for (std::size_t row = 0; row < kRows; ++row) {
            const TRow& contact = kResultOrder[row];
            const hostkit::THostRecord record = Bench_.Contact(contact.Call, contact.Band, contact.Mode, contact.Exchange);
            const std::int32_t expected = row < cell.Counted ? -1 : PointsOf(contact);
            CHECK_EQ(expected, Bench_.Plugin().GetScore(record.Get()),
                         where + ": _GetScore of row " + std::to_string(row) + " (" + contact.Call + ")" +
                             (row < cell.Counted ? ", counted before the failure" : ", not reached"));
        }
    }

    void CheckNextRebuild(const std::string& where)
    {
        hostkit::ClickRecalc(Window_);
        CHECK_EQ("", Bench_.Boxes.TakeTexts(), where + ": message boxes of the next rebuild");
        CHECK_EQ(FullReport(), hostkit::ReportText(Window_), where + ": report of the next rebuild");
        CHECK(hostkit::RecalcEnabled(Window_), where + ": button enabled after the next rebuild", "");
        const TRow& last = kResultOrder[kRows - 1];
        const hostkit::THostRecord record = Bench_.Contact(last.Call, last.Band, last.Mode, last.Exchange);
        CHECK_EQ(-1, Bench_.Plugin().GetScore(record.Get()), where + ": last row counted by the next rebuild");
    }

    hostkit::THostSession Bench_;
    HWND Window_ = nullptr;
    std::size_t BaselineAdoObjects_ = 0;
};

}  // namespace

int RunFaultMatrix(const TOptions& options)
{
    TFaultRun run(options);
    const std::vector<TCell> cells = Cells();
    int presses = 0;
    const DWORD start = GetTickCount();
    for (const TCell& cell : cells) {
        for (const TText& text : kTexts) {
            run.ThroughButton(cell, text);
            ++presses;
        }
        run.WithoutProviderText(cell);
    }
    // One text per cell on the _Run path, taking the texts in turn.
    std::size_t next = 0;
    for (const TCell& cell : cells)
        run.ThroughRun(cell, kTexts[next++ % std::size(kTexts)]);
    run.CheckNoAdoObjectsLeft();
    std::printf("fault matrix: %u cells (6 fault points), %d failed presses with %u texts, %u without a text, "
                "%u failed first shows in _Run, %lu ms; %d failed check(s)\n",
                static_cast<unsigned>(cells.size()), presses, static_cast<unsigned>(std::size(kTexts)),
                static_cast<unsigned>(cells.size()), static_cast<unsigned>(cells.size()), GetTickCount() - start,
                host::FailureCount());
    return host::FailureCount();
}

}  // namespace reliability
