// Long runs: windows opened, filled and given up again and again, and the
// plug-in loaded, run and unloaded again and again, counting after each
// stretch what a leak would leave behind: windows of the thread, the host
// database's COM objects, USER and GDI objects, kernel handles, heap bytes in
// use and private bytes. The counts after the last cycle must stay within a
// small bound of those after the first; memory is compared between a cycle
// well after the start (when caches have filled) and the last, with a bound
// that tolerates heap noise but not a per-cycle leak.
//
//   reliability_tests --suite soak --dll VelmoraCup.dll --cycles 1000 --reload-cycles 100
#include <cstdio>
#include <string>

#include "Checks.h"
#include "SuiteHost.h"
#include "Suites.h"
#include "hostkit/HostWindows.h"

namespace reliability {

namespace {

// Heap bytes in use may grow by this much in total between the comparison
// point and the end (a per-cycle leak of 16 bytes over 900 cycles exceeds
// it); private bytes move in pages and carry more noise.
constexpr long long kMostHeapGrowth = 16LL * 1024;
constexpr long long kMostPrivateGrowth = 512LL * 1024;

// GCC's exception unwinder, linked into the plug-in, guards its table of
// registered code with a lock that costs one kernel semaphore, created when
// the library is loaded and never closed (the runtime expects to live as long
// as the process). Nothing of the plug-in's own may stay behind.
constexpr DWORD kRuntimeHandlesPerLoad = 1;

const char kMemberFile[] = "DL1ABC=VC12\r\nOK1XYZ=77\r\nG4AAA=VC3\r\n";

void AddTableRows(hostkit::THostSession& bench)
{
    const char* const calls[] = {"DL1ABC", "OK1XYZ", "G4AAA", "S51A", "W1AW"};
    const char* const bands[] = {"20M", "40M", "80M", "15M"};
    for (int row = 0; row < 20; ++row)
        bench.AddRow(calls[row % 5], bands[row % 4], row % 3 ? "CW" : "SSB", "599 VC" + std::to_string(row % 7));
}

void PrintFigures(const char* when, const TResourceFigures& figures)
{
    std::printf("  %-28s %s\n", when, DescribeResources(figures).c_str());
}

long long Grown(std::size_t from, std::size_t to) { return static_cast<long long>(to) - static_cast<long long>(from); }

// The counts that must come back exactly, or nearly, after every cycle;
// `loads` is how many times the library was loaded between the two.
void CheckCounts(const std::string& what, const TResourceFigures& first, const TResourceFigures& last, DWORD loads = 0)
{
    CHECK_EQ(first.ThreadWindows, last.ThreadWindows, what + ": windows of the thread");
    CHECK_EQ(first.AdoObjects, last.AdoObjects, what + ": live ADO objects of the host");
    CHECK(last.UserObjects <= first.UserObjects + 2, what + ": USER objects",
                std::to_string(first.UserObjects) + " after the first cycle, " + std::to_string(last.UserObjects) +
                    " after the last");
    CHECK(GdiCount(last) <= GdiCount(first) + 2, what + ": GDI objects",
                std::to_string(GdiCount(first)) + " after the first cycle, " + std::to_string(GdiCount(last)) +
                    " after the last");
    const DWORD firstHandles = first.KernelHandles ? first.KernelHandles : first.ProbedHandles;
    const DWORD lastHandles = last.KernelHandles ? last.KernelHandles : last.ProbedHandles;
    CHECK(lastHandles <= firstHandles + 4 + loads * kRuntimeHandlesPerLoad, what + ": kernel handles",
                std::to_string(firstHandles) + " after the first cycle, " + std::to_string(lastHandles) +
                    " after the last, over " + std::to_string(loads) + " loads of the library");
}

void CheckMemory(const std::string& what, const TResourceFigures& settled, const TResourceFigures& last, int cycles)
{
    const long long heap = Grown(settled.HeapBytes, last.HeapBytes);
    const long long privateBytes = Grown(settled.PrivateBytes, last.PrivateBytes);
    std::printf("  %s: heap in use %+lld bytes (%+.1f per cycle), private bytes %+lld KB over the last %d cycles\n",
                what.c_str(), heap, cycles ? static_cast<double>(heap) / cycles : 0.0, privateBytes / 1024, cycles);
    CHECK(heap <= kMostHeapGrowth, what + ": heap bytes in use stay put",
                "grew by " + std::to_string(heap) + " bytes over " + std::to_string(cycles) + " cycles");
    CHECK(privateBytes <= kMostPrivateGrowth, what + ": private bytes stay put",
                "grew by " + std::to_string(privateBytes / 1024) + " KB over " + std::to_string(cycles) + " cycles");
}

// _Run, 100 _AddQSO, then a close request or _Release (in turn), and the
// host's loop turning until the window is gone.
void WindowCycles(hostkit::THostSession& bench, int cycles)
{
    if (cycles <= 0)
        return;
    const int settle = cycles >= 100 ? cycles / 10 : 1;
    const hostkit::THostRecord record = bench.Record();
    TResourceFigures first;
    TResourceFigures settled;
    TResourceFigures last;
    const DWORD start = GetTickCount();
    // Where the time goes, per kind of call.
    DWORD inRun = 0;
    DWORD inAddQSO = 0;
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        Progress("window cycle " + std::to_string(cycle));
        const DWORD runStarted = GetTickCount();
        const HWND window = bench.Plugin().Run(record.Get());
        inRun += GetTickCount() - runStarted;
        if (!CHECK(window != nullptr, "_Run in window cycle " + std::to_string(cycle), "0 handle"))
            return;
        // The window paints itself (the button is drawn by the plug-in).
        hostkit::PumpMessages();
        const DWORD addStarted = GetTickCount();
        for (int contact = 0; contact < 100; ++contact) {
            const hostkit::THostRecord logged =
                bench.Contact("SK" + std::to_string(contact % 60), contact % 2 ? "20M" : "40M", "CW",
                              "599 VC" + std::to_string(contact % 9));
            bench.Plugin().AddQSO(logged.Get());
        }
        inAddQSO += GetTickCount() - addStarted;
        if (cycle % 2)
            SendMessageA(window, WM_CLOSE, 0, 0);
        else
            bench.Plugin().Release();
        hostkit::PumpMessages();
        if (IsWindow(window)) {
            CHECK(false, "window of cycle " + std::to_string(cycle) + " destroyed by one turn of the loop", "");
            hostkit::PumpMessagesFor(50);
        }
        if (cycle == 1)
            first = MeasureResources();
        if (cycle == settle)
            settled = MeasureResources();
    }
    last = MeasureResources();
    const DWORD elapsed = GetTickCount() - start;
    std::printf("window cycles: %d in %lu ms (%.1f ms per cycle: _Run %.1f ms, 100 _AddQSO %.1f ms)\n", cycles,
                elapsed, cycles ? static_cast<double>(elapsed) / cycles : 0.0,
                cycles ? static_cast<double>(inRun) / cycles : 0.0, cycles ? static_cast<double>(inAddQSO) / cycles : 0.0);
    PrintFigures("after cycle 1:", first);
    PrintFigures(("after cycle " + std::to_string(settle) + ":").c_str(), settled);
    PrintFigures(("after cycle " + std::to_string(cycles) + ":").c_str(), last);
    CHECK_EQ("", bench.Boxes.TakeTexts(), "message boxes during the window cycles");
    CheckCounts("window cycles", first, last);
    if (cycles > settle)
        CheckMemory("window cycles", settled, last, cycles - settle);
}

// LoadLibrary, _Run, a few contacts, FreeLibrary with the window still up:
// unloading must take the window, its classes and its memory with it. With
// `run` false, only LoadLibrary and FreeLibrary: what loading alone costs.
void ReloadCycles(hostkit::THostSession& bench, int cycles, bool run)
{
    if (cycles <= 0)
        return;
    const std::string stretch = run ? "load/_Run/unload cycles" : "load/unload cycles without _Run";
    const int settle = cycles >= 20 ? cycles / 10 : 1;
    const hostkit::THostRecord record = bench.Record();
    TResourceFigures first;
    TResourceFigures settled;
    TResourceFigures last;
    bench.Unload();
    const DWORD start = GetTickCount();
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        Progress(stretch + " " + std::to_string(cycle));
        bench.Reload();
        const HMODULE module = bench.Plugin().Module();
        const HWND window = run ? bench.Plugin().Run(record.Get()) : nullptr;
        CHECK(!run || window != nullptr, "_Run in load/unload cycle " + std::to_string(cycle), "0 handle");
        for (int contact = 0; run && contact < 10; ++contact) {
            const hostkit::THostRecord logged = bench.Contact("RL" + std::to_string(contact), "20M", "CW", "VC1");
            bench.Plugin().AddQSO(logged.Get());
        }
        bench.Unload();
        CHECK(!IsWindow(window), "unloading destroys the window of cycle " + std::to_string(cycle), "");
        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        CHECK(!GetClassInfoExA(module, "TfmMainForm", &windowClass),
                    "unloading unregisters the window class in cycle " + std::to_string(cycle), "");
        hostkit::PumpMessages();
        if (cycle == 1)
            first = MeasureResources();
        if (cycle == settle)
            settled = MeasureResources();
    }
    last = MeasureResources();
    const DWORD elapsed = GetTickCount() - start;
    std::printf("%s: %d in %lu ms (%.1f ms per cycle)\n", stretch.c_str(), cycles, elapsed,
                cycles ? static_cast<double>(elapsed) / cycles : 0.0);
    PrintFigures("after cycle 1:", first);
    PrintFigures(("after cycle " + std::to_string(settle) + ":").c_str(), settled);
    PrintFigures(("after cycle " + std::to_string(cycles) + ":").c_str(), last);
    CHECK_EQ("", bench.Boxes.TakeTexts(), "message boxes during the " + stretch);
    CheckCounts(stretch, first, last, static_cast<DWORD>(cycles - 1));
    if (cycles > settle)
        CheckMemory(stretch, settled, last, cycles - settle);
    bench.Reload();
}

}  // namespace

int RunSoak(const TOptions& options)
{
    WriteMemberFile(kMemberFile);
    hostkit::THostSession bench(SuiteSession(options.DllPath));
    AddTableRows(bench);
    const TResourceFigures before = MeasureResources();
    PrintFigures("before the first cycle:", before);
    if (before.UserObjects == 0 && before.GdiObjects == 0)
        std::printf("  GetGuiResources gives 0 for USER and GDI objects here (not implemented by this Wine): USER "
                    "objects are counted as the thread's windows, GDI objects by probing the handle slots\n");
    if (before.KernelHandles == 0)
        std::printf("  GetProcessHandleCount gives 0 here: kernel handles are counted by probing handle values\n");
    if (before.PrivateBytes == 0)
        std::printf("  PrivateUsage gives 0 here: memory is measured as the bytes in use in the process's heaps\n");
    WindowCycles(bench, options.Cycles);
    ReloadCycles(bench, options.ReloadCycles, false);
    ReloadCycles(bench, options.ReloadCycles, true);
    return host::FailureCount();
}

}  // namespace reliability
