// velmora-host-bench.exe: VelmoraCup.dll timed end to end, driven by the same
// host as velmora-host (log table in memory behind the host's ADO objects,
// entry points called through the register convention):
//  - the rebuild from the log table through ADO when the window is shown
//    (the whole _Run) and when "Recalc Statistic" is pressed, on logs of
//    10,000 and 100,000 contacts;
//  - the latency of _AddQSO and of _GetScore with 1,000 and with 100,000
//    contacts already recorded: the next 1,000 contacts of the log, each
//    previewed and then logged as an operator would, one call timed at a
//    time, the message loop turning between contacts as in a logger.
// Every figure is the median over --repeat rounds (3 by default).
//
//   velmora-host-bench.exe [--plugin PATH] [--repeat N]
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "BenchLogs.h"
#include "hostkit/HostProcess.h"
#include "hostkit/HostWindows.h"
#include "hostkit/HostSession.h"
#include "velmora-host/HostCommands.h"

namespace {

constexpr std::size_t kRebuildSizes[] = {10000, 100000};
constexpr std::size_t kRecordedSizes[] = {1000, 100000};
constexpr std::size_t kTimedContacts = 1000;

class TStopwatch {
public:
    TStopwatch() { QueryPerformanceCounter(&Start_); }
    double Seconds() const
    {
        LARGE_INTEGER now;
        LARGE_INTEGER frequency;
        QueryPerformanceCounter(&now);
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(now.QuadPart - Start_.QuadPart) / static_cast<double>(frequency.QuadPart);
    }

private:
    LARGE_INTEGER Start_;
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Nearest rank: the smallest value that at least 99% of the values do not
// exceed.
double Percentile99(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t rank = (values.size() * 99 + 99) / 100;
    return values[rank - 1];
}

struct TRebuildFigures {
    double Run = 0;
    double Recalc = 0;
};

struct TLatencyFigures {
    double AddMedian = 0;
    double AddP99 = 0;
    double PreviewMedian = 0;
    double PreviewP99 = 0;
};

void FailOnMessages(const hostkit::THostSession& host, const char* where)
{
    if (host.Boxes.CaughtCount() > 0) {
        (void)std::fprintf(stderr, "velmora-host-bench: the plug-in showed a message during %s\n", where);
        std::exit(1);
    }
}

hostkit::TSessionSettings Settings(const std::string& pluginPath)
{
    hostkit::TSessionSettings settings;
    settings.PluginPath = pluginPath;
    settings.CaptionPrefix = "velmora-host";
    settings.ReleaseAtShutdown = true;
    return settings;
}

void PrintMessage(const hostkit::TCaughtBox& box) { std::cerr << PluginMessageLine(box) << "\n"; }

// _Run, and the message loop turned once, as velmora-host shows the window.
HWND RunAndShow(hostkit::THostSession& host)
{
    const HWND window = host.Run();
    hostkit::PumpMessages();
    return window;
}

TRebuildFigures MeasureRebuild(const std::string& pluginPath, std::size_t contacts, int repeats)
{
    hostkit::THostSession host(Settings(pluginPath));
    host.Boxes.OnCaught(&PrintMessage);
    host.AddRows(BenchLog(contacts));
    std::vector<double> runs;
    std::vector<double> recalcs;
    for (int repeat = 0; repeat < repeats; ++repeat) {
        {
            const TStopwatch watch;
            if (!RunAndShow(host)) {
                (void)std::fprintf(stderr, "velmora-host-bench: the plug-in opened no window\n");
                std::exit(1);
            }
            runs.push_back(watch.Seconds());
        }
        {
            const TStopwatch watch;
            host.Recalc();
            recalcs.push_back(watch.Seconds());
        }
        FailOnMessages(host, "a rebuild");
        host.Release();
    }
    return {Median(runs), Median(recalcs)};
}

TLatencyFigures MeasureLatencyOnce(const std::string& pluginPath, std::size_t recorded)
{
    const std::vector<TLogRow> log = BenchLog(recorded + kTimedContacts);
    hostkit::THostSession host(Settings(pluginPath));
    host.Boxes.OnCaught(&PrintMessage);
    host.AddRows(std::vector<TLogRow>(log.begin(), log.begin() + static_cast<std::ptrdiff_t>(recorded)));
    if (!RunAndShow(host)) {
        (void)std::fprintf(stderr, "velmora-host-bench: the plug-in opened no window\n");
        std::exit(1);
    }
    std::vector<double> adds;
    std::vector<double> previews;
    for (std::size_t at = recorded; at < log.size(); ++at) {
        const hostkit::THostRecord record = host.Contact(log[at]);
        {
            const TStopwatch watch;
            host.Plugin().GetScore(record.Get());
            previews.push_back(watch.Seconds());
        }
        {
            const TStopwatch watch;
            host.Plugin().AddQSO(record.Get());
            adds.push_back(watch.Seconds());
        }
        hostkit::AppendLogRow(host.Table, log[at]);
        hostkit::PumpMessages();
    }
    FailOnMessages(host, "logging");
    return {Median(adds), Percentile99(adds), Median(previews), Percentile99(previews)};
}

// Each figure the median over `repeats` rounds, each round from a fresh
// rebuild: a 99th percentile of 1,000 calls is the tenth slowest call, which
// one burst of another program's work on the machine can decide.
TLatencyFigures MeasureLatency(const std::string& pluginPath, std::size_t recorded, int repeats)
{
    std::vector<double> addMedians;
    std::vector<double> addP99s;
    std::vector<double> previewMedians;
    std::vector<double> previewP99s;
    for (int repeat = 0; repeat < repeats; ++repeat) {
        const TLatencyFigures round = MeasureLatencyOnce(pluginPath, recorded);
        addMedians.push_back(round.AddMedian);
        addP99s.push_back(round.AddP99);
        previewMedians.push_back(round.PreviewMedian);
        previewP99s.push_back(round.PreviewP99);
    }
    return {Median(addMedians), Median(addP99s), Median(previewMedians), Median(previewP99s)};
}

}  // namespace

int main(int argc, char** argv)
{
    _setmode(_fileno(stdout), _O_BINARY);
    std::string pluginPath = hostkit::ExecutableFolder() + "Plugins\\VelmoraCup.dll";
    int repeats = 3;
    for (int at = 1; at < argc; ++at) {
        if (std::strcmp(argv[at], "--plugin") == 0 && at + 1 < argc) {
            pluginPath = argv[++at];
        } else if (std::strcmp(argv[at], "--repeat") == 0 && at + 1 < argc) {
            repeats = std::max(1, static_cast<int>(std::strtol(argv[++at], nullptr, 10)));
        } else {
            (void)std::fprintf(stderr, "Usage: velmora-host-bench.exe [--plugin PATH] [--repeat N]\n");
            return 2;
        }
    }

    try {
        std::printf("VelmoraCup.dll end to end (%s), median of %d runs\n", pluginPath.c_str(), repeats);
        std::printf("%-44s %12s %12s %8s\n", "rebuild from the log table through ADO", "10,000", "100,000", "ratio");
        TRebuildFigures rebuild[2];
        for (std::size_t index = 0; index < 2; ++index)
            rebuild[index] = MeasureRebuild(pluginPath, kRebuildSizes[index], repeats);
        std::printf("%-44s %10.1f ms %10.1f ms %8.2f\n", "  _Run (window shown, rebuilt, reported)",
                    rebuild[0].Run * 1e3, rebuild[1].Run * 1e3, rebuild[1].Run / rebuild[0].Run);
        std::printf("%-44s %10.1f ms %10.1f ms %8.2f\n", "  \"Recalc Statistic\" pressed", rebuild[0].Recalc * 1e3,
                    rebuild[1].Recalc * 1e3, rebuild[1].Recalc / rebuild[0].Recalc);

        TLatencyFigures latency[2];
        for (std::size_t index = 0; index < 2; ++index)
            latency[index] = MeasureLatency(pluginPath, kRecordedSizes[index], repeats);
        std::printf("\n%-44s %12s %12s %8s\n", "latency over the next 1,000 contacts", "1,000 rec.", "100,000 rec.",
                    "ratio");
        const auto line = [](const char* what, double small, double large) {
            std::printf("%-44s %10.1f us %10.1f us %8.2f\n", what, small * 1e6, large * 1e6, large / small);
        };
        line("  _AddQSO median", latency[0].AddMedian, latency[1].AddMedian);
        line("  _AddQSO 99th percentile", latency[0].AddP99, latency[1].AddP99);
        line("  _GetScore median", latency[0].PreviewMedian, latency[1].PreviewMedian);
        line("  _GetScore 99th percentile", latency[0].PreviewP99, latency[1].PreviewP99);

        std::printf("\nrebuild 100,000 / 10,000 (\"Recalc Statistic\"): %.2f (goal <= 12)\n",
                    rebuild[1].Recalc / rebuild[0].Recalc);
        std::printf("rebuild 100,000 / 10,000 (_Run): %.2f (goal <= 12)\n", rebuild[1].Run / rebuild[0].Run);
        std::printf("_AddQSO 99th percentile, 100,000 / 1,000 recorded: %.2f (goal <= 3)\n",
                    latency[1].AddP99 / latency[0].AddP99);
    } catch (const std::exception& error) {
        (void)std::fprintf(stderr, "velmora-host-bench: %s\n", error.what());
        return 1;
    }
    return 0;
}
