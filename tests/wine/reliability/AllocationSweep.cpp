// Allocation failures forced inside every export and every window event the
// host can cause, through VelmoraCupWithSeams.dll: the plug-in's own code
// with a global operator new that throws std::bad_alloc once an armed
// countdown runs out. For each call and each countdown value 1, 2, 3, ...
// until the call completes without reaching it, in two modes (only that one
// allocation fails; that one and every later one fail, as when memory has
// run out), the process must survive, the call must give either its normal
// answer or the answer for "nothing done" (0, the empty text, a 0 handle),
// and once the seam is disarmed the plug-in must work normally again.
#include <cstdio>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "Checks.h"
#include "SuiteHost.h"
#include "Suites.h"
#include "hostkit/HostWindows.h"
#include "support/ReferenceScorer.h"

namespace reliability {

namespace {

using TArm = long (*)(long);

constexpr int kMostCountdown = 4000;

struct TRow {
    const char* Call;
    const char* Band;
    const char* Mode;
    const char* Exchange;
};

// Texts longer than the 15 characters a string keeps without allocating, so
// that every step of scoring and reporting allocates.
// Listed in the order the database returns them (by call).
const TRow kTable[] = {{"DL1ABC/PORTABLE-1", "20M", "CW", "599 VC12 GOOD SIGNAL"},
                       {"G4AAA", "BAND-OF-SIXTEEN!", "SSB", "599 001"},
                       {"OK1XYZ/MARITIME-2", "40M", "CW", "599 VC7 NICE RIG HERE"}};
const char kMemberFile[] = "DL1ABC=VC12\r\nOK1XYZ=77777\r\nG4AAA=VC3\r\n";

std::string TableReport(const std::vector<TRow>& extra = {})
{
    TReferenceScorer scorer;
    for (const TRow& row : kTable)
        scorer.AddQSO({row.Call, row.Band, row.Mode, row.Exchange});
    for (const TRow& row : extra)
        scorer.AddQSO({row.Call, row.Band, row.Mode, row.Exchange});
    return scorer.ReportText();
}

enum class TAnswer { Normal, NothingDone, Wrong };

struct TTally {
    int Steps = 0;
    int Normal = 0;
    int NothingDone = 0;
    int Wrong = 0;
    int Allocations = -1;  // the countdown at which the call no longer failed, minus one
    std::set<std::string> BoxTexts;
};

class TSweepBench {
public:
    explicit TSweepBench(const TOptions& options) : Bench(SuiteSession(options.DllPath))
    {
        WriteMemberFile(kMemberFile);
        for (const TRow& row : kTable)
            Bench.AddRow(row.Call, row.Band, row.Mode, row.Exchange);
        Arm = reinterpret_cast<TArm>(Bench.Plugin().Address("VelmoraTestFailAllocationAfter"));
    }

    // A window rebuilt from the table, its report showing the table.
    bool EnsureWindow(const std::string& where)
    {
        if (!Window || !IsWindow(Window) || !IsWindowVisible(Window)) {
            Window = nullptr;
            hostkit::PumpMessages();
            const hostkit::THostRecord record = Bench.Record();
            Window = Bench.Plugin().Run(record.Get());
        } else if (IsIconic(Window)) {
            ShowWindow(Window, SW_RESTORE);
        }
        if (!CHECK(Window != nullptr, where + ": _Run gives a window with the seam disarmed", ""))
            return false;
        if (hostkit::ReportText(Window) != TableReport())
            hostkit::ClickRecalc(Window);
        const std::string boxes = Bench.Boxes.TakeTexts();
        return CHECK_EQ("", boxes, where + ": message boxes with the seam disarmed") &&
               CHECK_EQ(TableReport(), hostkit::ReportText(Window), where + ": report with the seam disarmed");
    }

    void EnsureNoWindow()
    {
        if (Window && IsWindow(Window))
            SendMessageA(Window, WM_CLOSE, 0, 0);
        Window = nullptr;
        hostkit::PumpMessagesFor(5);
        Bench.Boxes.Take();
    }

    // The plug-in works as before: a window with the table's report, a new
    // contact scored and shown, the member file read. A window created while
    // allocations failed may have gone on without its member list (reported
    // in a box, as a member file that cannot be read is), so the check runs
    // on a window of its own.
    void CheckWorksNormally(const std::string& where)
    {
        if (CreatedWhileArmed) {
            EnsureNoWindow();
            CreatedWhileArmed = false;
        }
        if (!EnsureWindow(where))
            return;
        const TRow fresh = {"S50CHECK/AFTERWARDS", "20M", "CW", "599 VC900 AFTER THE SWEEP"};
        const hostkit::THostRecord record = Bench.Contact(fresh.Call, fresh.Band, fresh.Mode, fresh.Exchange);
        CHECK_EQ(3, Bench.Plugin().AddQSO(record.Get()), where + ": _AddQSO scores once the seam is disarmed");
        CHECK_EQ(TableReport({fresh}), hostkit::ReportText(Window), where + ": report after that _AddQSO");
        const hostkit::THostRecord member = Bench.Contact("G4AAA", "", "", "");
        CHECK_EQ("VC3", Bench.Plugin().GrabNumber(member.Get()), where + ": _GrabNumber once the seam is disarmed");
        hostkit::ClickRecalc(Window);
        CHECK_EQ(TableReport(), hostkit::ReportText(Window), where + ": report of a rebuild afterwards");
        CHECK_EQ("", Bench.Boxes.TakeTexts(), where + ": message boxes once the seam is disarmed");
    }

    // The countdown of the seam. Disarm() may run more than once per step
    // (a call that must check its state unarmed); the failures add up.
    void ArmAt(long n)
    {
        Arm(n);
        Failures_ = 0;
    }
    long Disarm()
    {
        Failures_ += Arm(0);
        return Failures_;
    }

    hostkit::THostSession Bench;
    TArm Arm = nullptr;
    HWND Window = nullptr;
    bool CreatedWhileArmed = false;

private:
    long Failures_ = 0;
};

struct TScenario {
    const char* Name;
    // Brings the plug-in into the state the call needs; the seam is disarmed.
    std::function<bool(TSweepBench&, const std::string&)> Prepare;
    // The call made while the seam is armed, judged as it returns.
    std::function<TAnswer(TSweepBench&, const std::string&, int n)> Call;
};

TAnswer Judge(bool normal, bool nothingDone)
{
    return normal ? TAnswer::Normal : (nothingDone ? TAnswer::NothingDone : TAnswer::Wrong);
}

bool PrepareWindow(TSweepBench& sweep, const std::string& where) { return sweep.EnsureWindow(where); }
bool PrepareNoWindow(TSweepBench& sweep, const std::string&)
{
    sweep.EnsureNoWindow();
    return true;
}

// A window that is gone must be gone for the entry points too, and must not
// linger on the screen.
void CheckNoWindow(TSweepBench& sweep, const std::string& where)
{
    hostkit::PumpMessagesFor(5);
    CHECK_EQ(0, CountStatisticsWindows(), where + ": statistics windows left");
    const hostkit::THostRecord record = sweep.Bench.Contact("ZZ9ZZ", "20M", "CW", "599");
    CHECK_EQ(0, sweep.Bench.Plugin().GetScore(record.Get()), where + ": _GetScore without a window");
}

std::vector<TScenario> Scenarios()
{
    std::vector<TScenario> scenarios;

    scenarios.push_back({"_GetInfo", PrepareNoWindow, [](TSweepBench& sweep, const std::string&, int) {
                             TPluginInfo info;
                             std::memset(&info, 0x5A, sizeof info);
                             sweep.Bench.Plugin().GetInfo(&info);
                             const bool untouched = info.PluginName.Bytes[0] == 0x5A && info.InfoValue1 == 0x5A5A5A5A;
                             const bool filled = hostkit::SlotText(info.PluginName) == "VelmoraCup" &&
                                                 hostkit::SlotText(info.PluginKind) == "qorvex_contest" &&
                                                 info.InfoValue1 == 1 && info.InfoValue2 == 1;
                             return Judge(filled, untouched);
                         }});

    scenarios.push_back({"_Run creating the window", PrepareNoWindow,
                         [](TSweepBench& sweep, const std::string& where, int) {
                             const hostkit::THostRecord record = sweep.Bench.Record();
                             const HWND window = sweep.Bench.Plugin().Run(record.Get());
                             sweep.Window = window;
                             sweep.CreatedWhileArmed = true;
                             if (!window) {
                                 CheckNoWindow(sweep, where + " (0 handle)");
                                 return TAnswer::NothingDone;
                             }
                             // A rebuild that failed is reported and leaves the report empty;
                             // the window still comes up.
                             const std::string report = hostkit::ReportText(window);
                             const bool shown = IsWindowVisible(window) != FALSE;
                             CHECK(shown, where + ": the window _Run returned is visible", "");
                             CHECK(report == TableReport() || report.empty(),
                                         where + ": report is the table's or empty", "got " + host::Quote(report));
                             return Judge(shown, false);
                         }});

    scenarios.push_back({"_Run with the window", PrepareWindow,
                         [](TSweepBench& sweep, const std::string&, int) {
                             const hostkit::THostRecord record = sweep.Bench.Record();
                             const HWND window = sweep.Bench.Plugin().Run(record.Get());
                             return Judge(window == sweep.Window, window == nullptr);
                         }});

    scenarios.push_back({"_AddQSO", PrepareWindow, [](TSweepBench& sweep, const std::string& where, int n) {
                             const std::string call = "SP" + std::to_string(n) + "/LONG-CALL-SIGN";
                             const TRow contact = {call.c_str(), "20M", "CW", "599 VC42 LONG EXCHANGE TEXT"};
                             const hostkit::THostRecord record =
                                 sweep.Bench.Contact(contact.Call, contact.Band, contact.Mode, contact.Exchange);
                             const std::int32_t result = sweep.Bench.Plugin().AddQSO(record.Get());
                             const TAnswer answer = Judge(result == 3, result == 0);
                             // Disarmed now. The contact must be recorded whole or not at all: a
                             // second station with the same member on the same band then rewrites
                             // the report, which must show one of the two.
                             sweep.Disarm();
                             const bool recorded = sweep.Bench.Plugin().GetScore(record.Get()) == -1;
                             const TRow sameMember = {"S5SAME", "20M", "CW", "VC42"};
                             const hostkit::THostRecord second = sweep.Bench.Contact(
                                 sameMember.Call, sameMember.Band, sameMember.Mode, sameMember.Exchange);
                             sweep.Bench.Plugin().AddQSO(second.Get());
                             const std::string expected =
                                 recorded ? TableReport({contact, sameMember}) : TableReport({sameMember});
                             CHECK_EQ(expected, hostkit::ReportText(sweep.Window),
                                          where + ": report after a second contact with the same member, the failed "
                                                  "contact being " +
                                              (recorded ? "a duplicate now (recorded)" : "no duplicate (not recorded)"));
                             hostkit::ClickRecalc(sweep.Window);
                             return answer;
                         }});

    scenarios.push_back({"_GetScore", PrepareWindow, [](TSweepBench& sweep, const std::string& where, int) {
                             const hostkit::THostRecord record =
                                 sweep.Bench.Contact("OK1XYZ/MARITIME-2", "40M", "SSB", "599 VC7 NICE RIG HERE");
                             const std::int32_t result = sweep.Bench.Plugin().GetScore(record.Get());
                             sweep.Disarm();
                             CHECK_EQ(TableReport(), hostkit::ReportText(sweep.Window),
                                          where + ": _GetScore leaves the report alone");
                             CHECK_EQ(3, sweep.Bench.Plugin().GetScore(record.Get()),
                                          where + ": the same preview once disarmed");
                             return Judge(result == 3, result == 0);
                         }});

    scenarios.push_back({"_GrabNumber", PrepareWindow, [](TSweepBench& sweep, const std::string&, int) {
                             const hostkit::THostRecord record = sweep.Bench.Contact("DL1ABC", "", "", "");
                             const std::string number = sweep.Bench.Plugin().GrabNumber(record.Get());
                             return Judge(number == "VC12", number.empty());
                         }});

    scenarios.push_back({"Recalc Statistic pressed", PrepareWindow,
                         [](TSweepBench& sweep, const std::string& where, int) {
                             hostkit::ClickRecalc(sweep.Window);
                             const std::string report = hostkit::ReportText(sweep.Window);
                             CHECK(hostkit::RecalcEnabled(sweep.Window), where + ": button enabled again", "");
                             return Judge(report == TableReport(), report.empty());
                         }});

    scenarios.push_back({"close box (WM_SYSCOMMAND SC_CLOSE)", PrepareWindow,
                         [](TSweepBench& sweep, const std::string&, int) {
                             SendMessageA(sweep.Window, WM_SYSCOMMAND, SC_CLOSE, 0);
                             return Judge(IsIconic(sweep.Window) != FALSE, IsWindowVisible(sweep.Window) != FALSE);
                         }});

    scenarios.push_back({"close request (WM_CLOSE) and destruction", PrepareWindow,
                         [](TSweepBench& sweep, const std::string& where, int) {
                             SendMessageA(sweep.Window, WM_CLOSE, 0, 0);
                             const bool hidden = IsWindowVisible(sweep.Window) == FALSE;
                             hostkit::PumpMessagesFor(5);
                             sweep.Disarm();
                             sweep.Window = nullptr;
                             CheckNoWindow(sweep, where);
                             return Judge(hidden, false);
                         }});

    scenarios.push_back({"_Release and the deferred destruction", PrepareWindow,
                         [](TSweepBench& sweep, const std::string& where, int) {
                             sweep.Bench.Plugin().Release();
                             hostkit::PumpMessagesFor(5);
                             sweep.Disarm();
                             const bool gone = IsWindow(sweep.Window) == FALSE;
                             sweep.Window = nullptr;
                             CheckNoWindow(sweep, where);
                             return Judge(gone, false);
                         }});
    return scenarios;
}

struct TMode {
    const char* Name;
    long Sign;
};
const TMode kModes[] = {{"once", 1}, {"from-then-on", -1}};

std::string PointName(std::size_t scenario, const TMode& mode, int n)
{
    return std::to_string(scenario) + " " + mode.Name + " " + std::to_string(n);
}

}  // namespace

int RunAllocationSweep(const TOptions& options)
{
    TSweepBench sweep(options);
    if (!CHECK(sweep.Arm != nullptr, "the seam's export VelmoraTestFailAllocationAfter", "missing"))
        return host::FailureCount();
    const std::vector<TScenario> scenarios = Scenarios();
    // A process restarted after a crash skips every point up to and
    // including the one it crashed at.
    bool skipping = !options.ResumeAfter.empty();
    const DWORD start = GetTickCount();

    std::printf("%-45s %-13s %11s %7s %7s %7s\n", "call", "mode", "allocations", "normal", "nothing", "wrong");
    for (std::size_t index = 0; index < scenarios.size(); ++index) {
        const TScenario& scenario = scenarios[index];
        for (const TMode& mode : kModes) {
            TTally tally;
            for (int n = 1; n <= kMostCountdown; ++n) {
                const std::string point = PointName(index, mode, n);
                if (skipping) {
                    skipping = options.ResumeAfter.rfind(point + " ", 0) != 0;
                    continue;
                }
                std::string where = scenario.Name;
                where += ", ";
                where += mode.Name;
                where += ", countdown ";
                where += std::to_string(n);
                Progress(point + " (" + where + ")");
                if (!scenario.Prepare(sweep, where))
                    break;
                sweep.ArmAt(mode.Sign * n);
                const TAnswer answer = scenario.Call(sweep, where, n);
                const long failures = sweep.Disarm();
                ++tally.Steps;
                const std::vector<hostkit::TCaughtBox> boxes = sweep.Bench.Boxes.Take();
                for (const hostkit::TCaughtBox& box : boxes)
                    tally.BoxTexts.insert(box.Text);
                if (failures == 0 && !boxes.empty())
                    host::ReportFailure(__FILE__, __LINE__, where + ": no allocation failed, yet a box said " +
                                                          host::Quote(boxes.front().Text));
                if (answer == TAnswer::Normal)
                    ++tally.Normal;
                else if (answer == TAnswer::NothingDone)
                    ++tally.NothingDone;
                else {
                    ++tally.Wrong;
                    host::ReportFailure(__FILE__, __LINE__, where + ": neither the normal answer nor \"nothing done\"");
                }
                sweep.CheckWorksNormally(where);
                if (failures == 0 && answer != TAnswer::Normal)
                    host::ReportFailure(__FILE__, __LINE__, where + ": no allocation failed, yet the answer was not normal");
                if (failures == 0) {
                    tally.Allocations = n - 1;
                    break;
                }
            }
            if (tally.Steps == 0)
                continue;
            std::printf("%-45s %-13s %11d %7d %7d %7d\n", scenario.Name, mode.Name, tally.Allocations, tally.Normal,
                        tally.NothingDone, tally.Wrong);
            for (const std::string& text : tally.BoxTexts)
                std::printf("    message box seen: %s\n", host::Quote(text).c_str());
        }
    }
    std::printf("allocation sweep: %lu ms; %d failed check(s)\n", GetTickCount() - start, host::FailureCount());
    return host::FailureCount();
}

}  // namespace reliability
