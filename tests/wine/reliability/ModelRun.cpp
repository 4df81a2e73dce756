// Long random host sessions played against the real DLL and the reference
// model side by side. After every step the DLL's answer, its windows (alive,
// visible, minimised), its report text (WM_GETTEXT of the report box), the
// button's state and the message boxes it showed must equal the model's.
// Contacts come from a small alphabet (calls differing only in letter case,
// bands "20M" and "20m", a few exchanges), so duplicates, member repeats and
// the database's case-insensitive order matter all the time.
//
// A run that diverges prints its start value and step; it is replayed with
//   reliability_tests --suite model --dll VelmoraCup.dll --start S --steps K
#include <algorithm>
#include <cstdio>
#include <deque>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "Checks.h"
#include "SuiteHost.h"
#include "ReferenceModel.h"
#include "Suites.h"
#include "hostkit/HostWindows.h"

namespace reliability {

namespace {

const std::vector<std::uint32_t> kDefaultStarts = {1, 2, 3, 4, 5};

const char* const kCalls[] = {"DL1A", "dl1a", "DL1B", "OK2X", "ok2x", "S5A", "G4Z", "DL1A/P", "W1AW", "9A1A", ""};
const char* const kBands[] = {"20M", "20m", "40M", "80M", ""};
const char* const kModes[] = {"CW", "SSB", "cw"};
const char* const kExchanges[] = {"599 VC1", "vc1",   "VC12", "599",  "VC007", "VC7",
                                  "599 VC1234", " vc12 ", "",  "5NN VC99X", "ABVC", "VC 12"};
const char* const kNumbers[] = {"VC1", "12345678", "7", " 42", "VC12", ""};
const char* const kLineEnds[] = {"\r\n", "\n", "\r"};
// A table the host names by mistake now and then: the rebuild must report it.
constexpr char kMissingTable[] = "Gone";
// A log grown to this many rows is replaced by a new, empty one (the host's
// records then name the new table), so a long run keeps its rebuilds short.
constexpr std::size_t kMostRows = 100;

enum class TAction {
    LogContact,
    AddQSO,
    GetScore,
    GrabNumber,
    AddRows,
    PressRecalc,
    Run,
    Release,
    SendClose,
    PostClose,
    SystemClose,
    Restore,
    Pump,
    PressOldWindow,
    TypeIntoReport,
    EditMemberFile,
    PostHostCall,
};

// Host actions and how often a host does them, out of 895.
const std::pair<TAction, int> kActionWeights[] = {
    {TAction::LogContact, 200}, {TAction::AddQSO, 80},         {TAction::GetScore, 200},
    {TAction::GrabNumber, 100}, {TAction::AddRows, 30},        {TAction::PressRecalc, 40},
    {TAction::Run, 60},         {TAction::Release, 15},        {TAction::SendClose, 10},
    {TAction::PostClose, 10},   {TAction::SystemClose, 30},    {TAction::Restore, 20},
    {TAction::Pump, 50},        {TAction::PressOldWindow, 5},  {TAction::TypeIntoReport, 10},
    {TAction::EditMemberFile, 5}, {TAction::PostHostCall, 30}};

// An entry point the host calls from a handler of its own window's message:
// it runs whenever messages are passed, inside the plug-in's rebuilds too.
struct THostCall {
    enum { AddQSO, GetScore, GrabNumber, Release } Kind;
    TModelContact Contact;
    std::string Table;
};

constexpr UINT WM_HOST_CALL = WM_APP + 0x31;
constexpr char kHostWindowClass[] = "ReliabilityHostWindow";

class TModelRun {
public:
    TModelRun(hostkit::THostSession& bench, std::uint32_t start) : Bench_(bench), Start_(start), Random_(start)
    {
        NewTable();
        EditMemberFile();
        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &TModelRun::HostWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kHostWindowClass;
        RegisterClassExA(&windowClass);
        HostWindow_ = CreateWindowExA(0, kHostWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
        Active_ = this;
        Model_.OnHostCall = [this](int call) { ExpectHostCall(call); };
    }
    ~TModelRun()
    {
        DestroyWindow(HostWindow_);
        Active_ = nullptr;
    }
    TModelRun(const TModelRun&) = delete;
    TModelRun& operator=(const TModelRun&) = delete;

    // False at the first divergence, after printing how to replay it.
    bool Run(int steps)
    {
        for (Step_ = 1; Step_ <= steps; ++Step_) {
            const int failuresBefore = host::FailureCount();
            Act();
            Verify();
            if (host::FailureCount() != failuresBefore) {
                Diverged();
                return false;
            }
        }
        return true;
    }

    int WindowsCreated = 0;
    int Rebuilds = 0;
    int Boxes = 0;
    int HostCalls = 0;
    std::size_t Rows = 0;
    int HostCallsInRebuilds() const { return Model_.HostCallsInRebuilds; }

private:
    static LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_HOST_CALL && Active_) {
            Active_->CarryOutHostCall(static_cast<int>(wParam));
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    static std::string DescribeHostCall(const THostCall& call)
    {
        switch (call.Kind) {
        case THostCall::AddQSO: return "_AddQSO " + Describe(call.Contact) + " naming table " + call.Table;
        case THostCall::GetScore: return "_GetScore " + Describe(call.Contact) + " naming table " + call.Table;
        case THostCall::GrabNumber: return "_GrabNumber " + host::Quote(call.Contact.Call) + " naming table " + call.Table;
        case THostCall::Release: return "_Release";
        }
        return "?";
    }

    // The real call, made when the thread's messages reach it.
    void CarryOutHostCall(int number)
    {
        const THostCall& call = HostCalls_[number];
        const hostkit::THostRecord record = Record(call.Contact, call.Table);
        switch (call.Kind) {
        case THostCall::AddQSO: Done_[number] = std::to_string(Bench_.Plugin().AddQSO(record.Get())); break;
        case THostCall::GetScore: Done_[number] = std::to_string(Bench_.Plugin().GetScore(record.Get())); break;
        case THostCall::GrabNumber: Done_[number] = host::Quote(Bench_.Plugin().GrabNumber(record.Get())); break;
        case THostCall::Release:
            Bench_.Plugin().Release();
            Done_[number] = "done";
            break;
        }
    }

    // The model's side, when its queue reaches the call: the real call must
    // have been made by then, with the same answer.
    void ExpectHostCall(int number)
    {
        const THostCall call = HostCalls_[number];
        HostCalls_.erase(number);
        std::string expected;
        switch (call.Kind) {
        case THostCall::AddQSO: expected = std::to_string(Model_.AddQSO(call.Contact, call.Table)); break;
        case THostCall::GetScore: expected = std::to_string(Model_.GetScore(call.Contact, call.Table)); break;
        case THostCall::GrabNumber: expected = host::Quote(Model_.GrabNumber(call.Contact.Call, call.Table)); break;
        case THostCall::Release:
            Model_.Release();
            expected = "done";
            break;
        }
        const auto done = Done_.find(number);
        const std::string what = "host call #" + std::to_string(number) + " (" + DescribeHostCall(call) + ")";
        if (CHECK(done != Done_.end(), what + " carried out when the model passes messages", "it was not"))
            CHECK_EQ(expected, done->second, what + ": answer");
        Done_.erase(number);
    }

    std::size_t Below(std::size_t n) { return n == 0 ? 0 : Random_() % n; }
    template <typename T, std::size_t N>
    const T& Pick(const T (&items)[N])
    {
        return items[Below(N)];
    }
    bool Chance(int percent) { return static_cast<int>(Below(100)) < percent; }

    TModelContact RandomContact()
    {
        return {Pick(kCalls), Pick(kBands), Pick(kModes), Pick(kExchanges)};
    }

    // The table name a record carries: the host's log, now and then a table
    // that does not exist.
    std::string RecordTable() { return Chance(2) ? kMissingTable : HostTable_; }

    hostkit::THostRecord Record(const TModelContact& contact, const std::string& table) const
    {
        hostkit::THostRecord record = Bench_.Record();
        record.Table(table).Call(contact.Call).Band(contact.Band).Mode(contact.Mode).Exchange(contact.Exchange);
        return record;
    }

    void Note(const std::string& action)
    {
        Recent_.push_back("step " + std::to_string(Step_) + ": " + action);
        if (Recent_.size() > 14)
            Recent_.pop_front();
    }

    static std::string Describe(const TModelContact& contact)
    {
        return host::Quote(contact.Call) + " " + host::Quote(contact.Band) + " " + host::Quote(contact.Mode) + " " +
               host::Quote(contact.Exchange);
    }

    void NewTable()
    {
        HostTable_ = "S" + std::to_string(Start_) + "Log" + std::to_string(++TableNumber_);
        Tables_[HostTable_] = &Bench_.Database.AddTable(HostTable_);
        Model_.Tables[HostTable_] = {};
    }

    void AddRow(const TModelContact& contact)
    {
        TLogRow row = hostkit::EnteredContact(contact.Call, contact.Band, contact.Mode, contact.Exchange);
        // NULL cells now and then: the rebuild reads them as empty texts.
        if (Chance(3))
            row[TLogColumn::QSOReportRecived].reset();
        if (Chance(1))
            row[TLogColumn::CallSign].reset();
        hostkit::AppendLogRow(*Tables_[HostTable_], row);
        Model_.Tables[HostTable_].push_back(row);
        ++Rows;
        if (Model_.Tables[HostTable_].size() >= kMostRows)
            NewTable();
    }

    void EditMemberFile()
    {
        std::string bytes;
        const std::size_t lines = Below(7);
        for (std::size_t line = 0; line < lines; ++line) {
            if (Chance(10)) {
                bytes += Chance(50) ? "no number here" : "";
            } else {
                std::string call = Pick(kCalls);
                if (call.empty())
                    call = "DL1A";
                bytes += std::string(Chance(20) ? " \t" : "") + call + (Chance(15) ? " =" : "=") + Pick(kNumbers) +
                         (Chance(20) ? "  " : "");
            }
            if (line + 1 < lines || Chance(50))
                bytes += Pick(kLineEnds);
        }
        WriteMemberFile(bytes);
        Model_.MemberFile = bytes;
    }

    // The windows in the order they were created, which a replay repeats
    // (handle values need not), whose life is one of `lives`.
    std::vector<HWND> WindowsLiving(std::initializer_list<TWindowLife> lives, bool visibleOnly) const
    {
        std::vector<HWND> found;
        for (const HWND handle : Created_) {
            const TModelWindow& window = Model_.Windows().at(handle);
            if (std::find(lives.begin(), lives.end(), window.Life) != lives.end() && (!visibleOnly || window.Visible))
                found.push_back(handle);
        }
        return found;
    }

    // Some window still alive: mostly the current one, else an older one.
    HWND SomeWindow(bool visibleOnly)
    {
        if (Model_.HasCurrentWindow() && Chance(70))
            return Model_.CurrentWindow();
        const std::vector<HWND> live = WindowsLiving(
            {TWindowLife::Current, TWindowLife::Released, TWindowLife::Closed}, visibleOnly);
        return live.empty() ? nullptr : live[Below(live.size())];
    }

    static const char* LifeName(HWND window, const TReferenceModel& model)
    {
        const auto found = model.Windows().find(window);
        if (found == model.Windows().end())
            return "unknown";
        switch (found->second.Life) {
        case TWindowLife::Current: return "current";
        case TWindowLife::Released: return "released";
        case TWindowLife::Closed: return "closed";
        case TWindowLife::Destroyed: return "destroyed";
        }
        return "?";
    }

    std::string WindowName(HWND window) const
    {
        return host::Describe(window) + " (" + LifeName(window, Model_) + ")";
    }

    TAction ChooseAction()
    {
        int total = 0;
        for (const auto& [action, weight] : kActionWeights)
            total += weight;
        int roll = static_cast<int>(Below(static_cast<std::size_t>(total)));
        for (const auto& [action, weight] : kActionWeights) {
            if (roll < weight)
                return action;
            roll -= weight;
        }
        return TAction::Pump;
    }

    void Act()
    {
        switch (ChooseAction()) {
        case TAction::LogContact: {
            // The host writes the contact to its log and tells the plug-in.
            const TModelContact contact = RandomContact();
            const std::string table = RecordTable();
            Note("log contact " + Describe(contact) + " into the table, _AddQSO naming table " + table);
            AddRow(contact);
            AddQSO(contact, table);
            break;
        }
        case TAction::AddQSO: {
            const TModelContact contact = RandomContact();
            const std::string table = RecordTable();
            Note("_AddQSO " + Describe(contact) + " naming table " + table);
            AddQSO(contact, table);
            break;
        }
        case TAction::GetScore: {
            const TModelContact contact = RandomContact();
            const std::string table = RecordTable();
            Note("_GetScore " + Describe(contact) + " naming table " + table);
            const hostkit::THostRecord record = Record(contact, table);
            const std::int32_t got = Bench_.Plugin().GetScore(record.Get());
            CHECK_EQ(Model_.GetScore(contact, table), got, "_GetScore");
            break;
        }
        case TAction::GrabNumber: {
            const TModelContact contact{Pick(kCalls), "", "", ""};
            const std::string table = RecordTable();
            Note("_GrabNumber " + host::Quote(contact.Call) + " naming table " + table);
            const hostkit::THostRecord record = Record(contact, table);
            const std::string got = Bench_.Plugin().GrabNumber(record.Get());
            CHECK_EQ(Model_.GrabNumber(contact.Call, table), got, "_GrabNumber");
            break;
        }
        case TAction::AddRows: {
            const std::size_t count = 1 + Below(3);
            Note("add " + std::to_string(count) + " row(s) to table " + HostTable_);
            for (std::size_t row = 0; row < count; ++row)
                AddRow(RandomContact());
            break;
        }
        case TAction::PressRecalc:
            if (!Model_.HasCurrentWindow())
                return Run();
            Note("press Recalc Statistic of the current window");
            ++Rebuilds;
            hostkit::ClickRecalc(Model_.CurrentWindow());
            Model_.PressRecalc(Model_.CurrentWindow());
            break;
        case TAction::Run:
            return Run();
        case TAction::Release:
            Note("_Release");
            Bench_.Plugin().Release();
            Model_.Release();
            break;
        case TAction::SendClose:
            if (const HWND window = SomeWindow(false)) {
                Note("send WM_CLOSE to " + WindowName(window));
                SendMessageA(window, WM_CLOSE, 0, 0);
                Model_.SendClose(window);
            }
            break;
        case TAction::PostClose:
            if (const HWND window = SomeWindow(false)) {
                Note("post WM_CLOSE to " + WindowName(window));
                PostMessageA(window, WM_CLOSE, 0, 0);
                Model_.PostClose(window);
            }
            break;
        case TAction::SystemClose:
            if (const HWND window = SomeWindow(false)) {
                Note("send WM_SYSCOMMAND SC_CLOSE to " + WindowName(window));
                SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
                Model_.SendSystemClose(window);
            }
            break;
        case TAction::Restore:
            if (const HWND window = SomeWindow(true)) {
                Note("send WM_SYSCOMMAND SC_RESTORE to " + WindowName(window));
                SendMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
                Model_.Restore(window);
            }
            break;
        case TAction::Pump:
            Note("the host's message loop turns");
            hostkit::PumpMessages();
            Model_.PassMessages();
            break;
        case TAction::PressOldWindow: {
            const std::vector<HWND> old = WindowsLiving({TWindowLife::Released, TWindowLife::Closed}, false);
            if (old.empty())
                return;
            const HWND window = old[Below(old.size())];
            Note("press Recalc Statistic of " + WindowName(window));
            hostkit::ClickRecalc(window);
            Model_.PressRecalc(window);
            break;
        }
        case TAction::TypeIntoReport:
            if (Model_.HasCurrentWindow()) {
                Note("the operator types into the report box");
                SetWindowTextA(hostkit::FindReportBox(Model_.CurrentWindow()), "typed by the operator");
                Model_.TypeIntoReport("typed by the operator");
            }
            break;
        case TAction::EditMemberFile:
            Note("the member file changes");
            EditMemberFile();
            break;
        case TAction::PostHostCall: {
            THostCall call{THostCall::AddQSO, RandomContact(), RecordTable()};
            const std::size_t kind = Below(10);
            call.Kind = kind < 4 ? THostCall::AddQSO
                                 : (kind < 7 ? THostCall::GetScore : (kind < 9 ? THostCall::GrabNumber : THostCall::Release));
            const int number = ++HostCallNumber_;
            HostCalls_[number] = call;
            Note("post host call #" + std::to_string(number) + ": " + DescribeHostCall(call));
            PostMessageA(HostWindow_, WM_HOST_CALL, static_cast<WPARAM>(number), 0);
            Model_.PostHostCall(number);
            ++HostCalls;
            break;
        }
        }
    }

    void AddQSO(const TModelContact& contact, const std::string& table)
    {
        const hostkit::THostRecord record = Record(contact, table);
        const std::int32_t got = Bench_.Plugin().AddQSO(record.Get());
        CHECK_EQ(Model_.AddQSO(contact, table), got, "_AddQSO");
    }

    void Run()
    {
        const std::string table = RecordTable();
        const bool creates = !Model_.HasCurrentWindow();
        Note(std::string("_Run naming table ") + table + (creates ? " (creates a window)" : " (window exists)"));
        hostkit::THostRecord record = Bench_.Record();
        record.Table(table);
        const HWND window = Bench_.Plugin().Run(record.Get());
        if (!creates) {
            CHECK_EQ(Model_.CurrentWindow(), window, "_Run with a window returns that window");
            return;
        }
        if (!CHECK(window != nullptr, "_Run creates a window", "0 handle"))
            return;
        const auto known = Model_.Windows().find(window);
        CHECK(known == Model_.Windows().end() || known->second.Life == TWindowLife::Destroyed,
                    "_Run creates a new window", "got the handle of a live window " + WindowName(window));
        ++WindowsCreated;
        ++Rebuilds;
        VerifiedGone_.erase(window);
        Created_.erase(std::remove(Created_.begin(), Created_.end(), window), Created_.end());
        Created_.push_back(window);
        Model_.RunCreates(window, table);
    }

    void Verify()
    {
        int live = 0;
        for (const auto& [handle, window] : Model_.Windows()) {
            const std::string name = WindowName(handle);
            if (window.Life == TWindowLife::Destroyed) {
                if (VerifiedGone_.insert(handle).second)
                    CHECK(IsWindow(handle) == FALSE, name + " is destroyed", "it still exists");
                continue;
            }
            ++live;
            if (!CHECK(IsWindow(handle) != FALSE, name + " exists", "it was destroyed"))
                continue;
            CHECK_EQ(window.Visible, IsWindowVisible(handle) != FALSE, name + " visible");
            if (window.Visible)
                CHECK_EQ(window.Minimised, IsIconic(handle) != FALSE, name + " minimised");
        }
        CHECK_EQ(live, CountStatisticsWindows(), "statistics windows of the thread");
        if (Model_.HasCurrentWindow() && IsWindow(Model_.CurrentWindow())) {
            CHECK_EQ(Model_.Report(), hostkit::ReportText(Model_.CurrentWindow()), "report of the current window");
            CHECK(hostkit::RecalcEnabled(Model_.CurrentWindow()), "\"Recalc Statistic\" enabled", "");
        }
        std::string expectedBoxes;
        for (const std::string& text : Model_.TakeBoxes()) {
            expectedBoxes += expectedBoxes.empty() ? text : " | " + text;
            ++Boxes;
        }
        CHECK_EQ(expectedBoxes, Bench_.Boxes.TakeTexts(), "message boxes");
        for (const auto& [number, answer] : Done_)
            CHECK(false, "host call #" + std::to_string(number) + " carried out by the plug-in's message passes",
                        "the model has not passed messages since it was posted");
        Done_.clear();
    }

    void Diverged() const
    {
        std::printf("model run with start value %u diverged at step %d; the steps before it:\n", Start_, Step_);
        for (const std::string& line : Recent_)
            std::printf("  %s\n", line.c_str());
        std::printf("replay: reliability_tests --suite model --dll <VelmoraCup.dll> --start %u --steps %d\n", Start_,
                    Step_);
    }

    hostkit::THostSession& Bench_;
    std::uint32_t Start_;
    std::mt19937 Random_;
    TReferenceModel Model_;
    std::string HostTable_;
    int TableNumber_ = 0;
    std::map<std::string, hostado::TLogTable*> Tables_;
    std::set<HWND> VerifiedGone_;
    std::vector<HWND> Created_;
    std::deque<std::string> Recent_;
    int Step_ = 0;
    HWND HostWindow_ = nullptr;
    int HostCallNumber_ = 0;
    std::map<int, THostCall> HostCalls_;
    std::map<int, std::string> Done_;
    static inline TModelRun* Active_ = nullptr;
};

}  // namespace

int RunModelSuite(const TOptions& options)
{
    const std::vector<std::uint32_t> starts = options.Starts.empty() ? kDefaultStarts : options.Starts;
    hostkit::THostSession bench(SuiteSession(options.DllPath));
    long long totalSteps = 0;
    const DWORD begin = GetTickCount();
    for (const std::uint32_t start : starts) {
        const DWORD started = GetTickCount();
        TModelRun run(bench, start);
        const bool passed = run.Run(options.Steps);
        // Unloading takes every window of the plug-in down with it.
        bench.Unload();
        CHECK_EQ(0, CountStatisticsWindows(), "statistics windows after unloading the plug-in");
        bench.Boxes.Take();
        bench.Reload();
        const DWORD elapsed = GetTickCount() - started;
        std::printf("start value %u: %s, %d steps in %lu ms (%.0f steps/s), %d windows created, %d rebuilds, "
                    "%d message boxes, %d host calls from the message queue (%d inside a rebuild), %u rows logged\n",
                    start, passed ? "agrees with the model" : "DIVERGED", options.Steps, elapsed,
                    elapsed ? options.Steps * 1000.0 / elapsed : 0.0, run.WindowsCreated, run.Rebuilds, run.Boxes,
                    run.HostCalls, run.HostCallsInRebuilds(), static_cast<unsigned>(run.Rows));
        totalSteps += options.Steps;
    }
    std::printf("model run: %u start value(s), %lld steps, %lu ms; %d failed check(s)\n",
                static_cast<unsigned>(starts.size()), totalSteps, GetTickCount() - begin, host::FailureCount());
    return host::FailureCount();
}

}  // namespace reliability
