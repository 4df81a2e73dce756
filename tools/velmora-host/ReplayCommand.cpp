// replay: live logging from an empty log, contact after contact, then a
// rebuild from the table the logging filled, which must come to the same
// tallies.
#include "velmora-host/HostCommands.h"
#include "velmora-host/ProgressLine.h"
#include "velmora-host/ReportComparison.h"
#include "velmora-score/ScoreOutput.h"

#include "hostkit/HostWindows.h"

namespace {

constexpr ULONGLONG kPumpInterval = 25;  // milliseconds

void PrintOutcome(std::ostream& out, const TReportComparison& comparison)
{
    switch (comparison.Agreement) {
    case TReportAgreement::Identical:
        out << "The rebuild from the log table reproduces the report of live logging.\n";
        break;
    case TReportAgreement::SameTalliesOtherBandOrder:
        out << "The rebuild from the log table reproduces the tallies of live logging; the bands stand in\n"
               "another order (a rebuild meets them in the order of the calls, live logging in the order\n"
               "in which each band was first logged).\n";
        break;
    case TReportAgreement::Different:
        out << "The rebuild from the log table DISAGREES with live logging:\n";
        for (const std::string& difference : comparison.Differences)
            out << "  " << difference << "\n";
        break;
    }
}

}  // namespace

int ReplayLog(hostkit::THostSession& host, const THostContext& context)
{
    std::ostream& out = context.Out;
    context.Err << "velmora-host: replaying " << context.Rows.size() << " contacts from " << *context.Options.LogPath
                << " into the empty table " << context.Options.Table << "\n";
    const HWND window = host.Run();
    hostkit::PumpMessages();
    if (!window) {
        context.Err << "velmora-host: the plug-in opened no window\n";
        return kExitHostFailure;
    }

    std::size_t previewsDiffering = 0;
    {
        TProgressLine progress(context.Err, "replaying", context.Rows.size());
        out << "ROW\tCALL\tBAND\tMODE\tPREVIEW\tLOGGED\n";
        ULONGLONG lastPump = GetTickCount64();
        for (std::size_t at = 0; at < context.Rows.size(); ++at) {
            const TLogRow& contact = context.Rows[at];
            const std::int32_t preview = host.Preview(contact);
            const std::int32_t result = host.Log(contact);
            const auto field = [&](TLogColumn column) { return EscapedField(contact[column].value_or("")); };
            out << at + 1 << '\t' << field(TLogColumn::CallSign) << '\t' << field(TLogColumn::DigiBand) << '\t'
                << field(TLogColumn::QSOMode) << "\tpreview " << VerdictText(preview) << "\tlogged "
                << VerdictText(result);
            if (preview != result) {
                out << "\t<- the preview differs";
                ++previewsDiffering;
            }
            out << '\n';
            // The logger's message loop turns between two contacts. At an
            // operator's pace the window repaints after each of them; at the
            // replay's pace the loop turns every few milliseconds, which
            // keeps the window as alive without painting each report.
            if (GetTickCount64() - lastPump >= kPumpInterval) {
                hostkit::PumpMessages();
                lastPump = GetTickCount64();
            }
            progress.Update(at + 1);
        }
    }

    const std::string live = host.Report();
    {
        TBusyLine busy(context.Err, "\"Recalc Statistic\" rebuilds from " + std::to_string(context.Rows.size()) +
                                        " contacts");
        host.Recalc();
    }
    const std::string rebuilt = host.Report();
    out << "Report after live logging:\n" << live << "\nReport after \"Recalc Statistic\":\n" << rebuilt << "\n";
    const TReportComparison comparison = CompareReports(live, rebuilt);
    PrintOutcome(out, comparison);
    if (previewsDiffering > 0)
        out << "The preview (_GetScore) differed from the result (_AddQSO) for " << previewsDiffering
            << " contact(s).\n";
    out << std::flush;

    if (!SaveScreenshotIfAsked(host, context))
        return kExitHostFailure;
    const bool agreed = comparison.Agreement != TReportAgreement::Different && previewsDiffering == 0;
    return agreed && host.Boxes.CaughtCount() == 0 ? kExitOk : kExitPluginTrouble;
}
