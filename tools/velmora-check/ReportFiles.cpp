#include "velmora-check/ReportFiles.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <thread>

#include <nlohmann/json.hpp>

#include "logfiles/TextEncoding.h"
#include "velmora-check/DecideStage.h"
#include "velmora-check/Normalise.h"
#include "velmora-check/ParallelLogs.h"
#include "velmora-check/ReportText.h"

namespace fs = std::filesystem;

namespace {

constexpr TVerdict kAllVerdicts[kVerdictCount] = {TVerdict::Ok,     TVerdict::Dupe,    TVerdict::BustedCall,
                                                  TVerdict::Nil,    TVerdict::BustedExchange, TVerdict::Unique,
                                                  TVerdict::NoLog,  TVerdict::OutOfPeriod,    TVerdict::XQso};

std::size_t CountOf(const TCheckLog& log, TVerdict verdict)
{
    return log.VerdictCounts[static_cast<std::size_t>(verdict)];
}

// Logs formatted at once before their rows are written: enough to keep
// every thread busy, few enough that the text of a whole contest is never
// held in memory.
constexpr std::size_t kLogsPerBatch = 64;

std::string VerdictRowsOf(const TCheckRun& run, const TCheckLog& log)
{
    std::string rows;
    rows.reserve(log.Contacts.size() * 96);
    const std::string station = CsvField(log.StationCall);
    // Contacts come in time order, so the last minute's text mostly serves
    // the next row too.
    std::int32_t shownMinute = kUnknownMinute;
    std::string minuteText = FormatMinute(shownMinute);
    std::string detail;
    for (const TCheckContact& contact : log.Contacts) {
        if (contact.Minute != shownMinute) {
            shownMinute = contact.Minute;
            minuteText = FormatMinute(shownMinute);
        }
        rows += station;
        rows += ',';
        AppendNumber(rows, contact.Line);
        rows += ',';
        AppendCsvField(rows, run.Calls.Text(contact.CallId));
        rows += ',';
        AppendCsvField(rows, log.Text(contact.Band));
        rows += ',';
        AppendCsvField(rows, log.Text(contact.Mode));
        rows += ',';
        rows += minuteText;
        rows += ',';
        rows += VerdictName(contact.Verdict);
        rows += ',';
        AppendNumber(rows, contact.CheckedPoints);
        rows += ',';
        detail.clear();
        AppendDetailText(detail, run, log, contact);
        AppendCsvField(rows, detail);
        rows += '\n';
    }
    return rows;
}

void WriteVerdictRows(const TCheckRun& run, std::ostream& out)
{
    out << "log,line,call,band,mode,time,verdict,points,detail\n";
    std::vector<std::string> batch;
    for (std::size_t first = 0; first < run.Logs.size(); first += kLogsPerBatch) {
        const std::size_t count = std::min(kLogsPerBatch, run.Logs.size() - first);
        batch.assign(count, std::string());
        ForEachIndexInParallel(count, run.Options.Jobs,
                               [&](std::size_t i) { batch[i] = VerdictRowsOf(run, run.Logs[first + i]); });
        for (const std::string& rows : batch)
            out << rows;
    }
}

// Writes a file under a temporary name beside it and renames it into place.
bool WriteWhole(const fs::path& path, const std::function<void(std::ostream&)>& write, std::ostream& err)
{
    fs::path temporary = path;
    temporary += ".partial";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (out)
            write(out);
        out.flush();
        if (!out) {
            err << "velmora-check: " << path.string() << ": cannot be written\n";
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    fs::rename(temporary, path, error);
    if (error) {
        err << "velmora-check: " << path.string() << ": cannot be put in place: " << error.message() << '\n';
        fs::remove(temporary, error);
        return false;
    }
    return true;
}

}  // namespace

std::string VerdictsCsvText(const TCheckRun& run)
{
    std::ostringstream out;
    WriteVerdictRows(run, out);
    return out.str();
}

std::string ResultsCsvText(const TCheckRun& run)
{
    std::string text = "rank,station,category,claimed_contacts,checked_contacts,claimed_score,checked_score,"
                       "stated_claimed_score,ok,dupe,busted_call,nil,busted_exchange,unique,no_log,out_of_period,"
                       "x_qso,error_rate,clock_offset_min\n";
    std::size_t rank = 0;
    for (const TCheckLog* log : RankedLogs(run)) {
        text += Joined(std::to_string(++rank), ',', CsvField(log->StationCall), ',', CsvField(log->Category), ',', std::to_string(log->ClaimedContacts), ',', std::to_string(log->CheckedContacts), ',', std::to_string(log->ClaimedScore), ',', std::to_string(log->CheckedScore), ',', log->StatedClaimedScore);
        for (const TVerdict verdict : kAllVerdicts)
            text += Joined(',', std::to_string(CountOf(*log, verdict)));
        text += Joined(',', ErrorRateText(*log), ',', std::to_string(ReportedClockOffset(*log)), '\n');
    }
    return text;
}

std::string ResultsJsonText(const TCheckRun& run)
{
    nlohmann::ordered_json results = nlohmann::ordered_json::array();
    std::size_t rank = 0;
    for (const TCheckLog* log : RankedLogs(run)) {
        nlohmann::ordered_json entry;
        entry["rank"] = ++rank;
        entry["station"] = Utf8OfLogText(log->StationCall);
        entry["category"] = Utf8OfLogText(log->Category);
        entry["claimed_contacts"] = log->ClaimedContacts;
        entry["checked_contacts"] = log->CheckedContacts;
        entry["claimed_score"] = log->ClaimedScore;
        entry["checked_score"] = log->CheckedScore;
        if (log->StatedClaimedScore.empty())
            entry["stated_claimed_score"] = nullptr;
        else
            entry["stated_claimed_score"] = std::stoll(log->StatedClaimedScore);
        for (const TVerdict verdict : kAllVerdicts)
            entry[std::string(VerdictColumnName(verdict))] = CountOf(*log, verdict);
        entry["error_rate"] = std::stod(ErrorRateText(*log));
        entry["clock_offset_min"] = ReportedClockOffset(*log);
        entry["file"] = Utf8OfLogText(log->File);
        results.push_back(std::move(entry));
    }
    nlohmann::ordered_json leftOut = nlohmann::ordered_json::array();
    for (const TLeftOutLog& left : run.LeftOut)
        leftOut.push_back({{"file", Utf8OfLogText(left.File)}, {"reason", Utf8OfLogText(left.Reason)}});
    nlohmann::ordered_json document;
    document["results"] = std::move(results);
    document["left_out"] = std::move(leftOut);
    return document.dump(2) + "\n";
}

std::string ResultsText(const TCheckRun& run)
{
    std::string text = "Velmora Cup: checked results\n\n";
    char line[512];
    static_cast<void>(std::snprintf(line, sizeof line, "%4s  %-12s %-24s %7s %7s %10s %10s %10s %6s  %s\n", "Rank", "Station",
                  "Category", "QSOs", "Checked", "Claimed", "Checked", "Stated", "Errors", "Clock"));
    text += line;
    std::size_t rank = 0;
    for (const TCheckLog* log : RankedLogs(run)) {
        const std::int32_t offset = ReportedClockOffset(*log);
        static_cast<void>(std::snprintf(line, sizeof line, "%4zu  %-12s %-24s %7zu %7zu %10lld %10lld %10s %6.2f%%  %s\n", ++rank,
                      log->StationCall.c_str(), log->Category.c_str(), log->ClaimedContacts, log->CheckedContacts,
                      static_cast<long long>(log->ClaimedScore), static_cast<long long>(log->CheckedScore),
                      log->StatedClaimedScore.empty() ? "-" : log->StatedClaimedScore.c_str(), 100 * ErrorRate(*log),
                      offset == 0 ? "" : (std::to_string(offset) + " min").c_str()));
        text += line;
    }
    text += "\nVerdicts per log:\n";
    for (const TCheckLog* log : RankedLogs(run)) {
        text += Joined("  ", log->StationCall, ":");
        for (const TVerdict verdict : kAllVerdicts)
            if (CountOf(*log, verdict) > 0)
                text += Joined(" ", std::string(VerdictName(verdict)), " ", std::to_string(CountOf(*log, verdict)));
        text += '\n';
    }
    if (!run.LeftOut.empty()) {
        text += "\nLogs left out (not checked, not in the results):\n";
        for (const TLeftOutLog& left : run.LeftOut)
            text += Joined("  ", left.Reason, '\n');
    }
    return text;
}

std::string LogReportText(const TCheckRun& run, const TCheckLog& log)
{
    std::string text = "Velmora Cup: check of " + log.StationCall + "\n";
    text += Joined("Log file: ", log.File, "\n");
    if (!log.Category.empty())
        text += Joined("Category: ", log.Category, "\n");
    text += Joined("Claimed score: ", std::to_string(log.ClaimedScore), " from ", std::to_string(log.ClaimedContacts), " contacts");
    if (!log.StatedClaimedScore.empty())
        text += Joined(" (the log states ", log.StatedClaimedScore, ")");
    text += Joined("\nChecked score: ", std::to_string(log.CheckedScore), " from ", std::to_string(log.CheckedContacts), " contacts\n");
    if (ReportedClockOffset(log) != 0)
        text += Joined("Clock: ", std::to_string(log.ClockOffset), " minutes against the other logs (taken out before matching)\n");
    text += "Verdicts:";
    for (const TVerdict verdict : kAllVerdicts)
        text += Joined(" ", std::string(VerdictName(verdict)), " ", std::to_string(CountOf(log, verdict)));
    text += "\n";
    for (const std::string& warning : log.Warnings)
        text += Joined("Reading: ", warning, "\n");

    text += "\nContacts that lost credit:\n";
    bool any = false;
    for (const TCheckContact& contact : log.Contacts) {
        if (KeepsCredit(contact.Verdict) && !(run.Options.RemoveUniques && contact.Verdict == TVerdict::Unique))
            continue;
        any = true;
        text += Joined("  line ", std::to_string(contact.Line), ": ", ContactLineText(log, contact), "\n");
        text += Joined("    ", std::string(VerdictName(contact.Verdict)), ": ", DetailText(run, log, contact));
        if (contact.CheckedPoints < 0)
            text += Joined(" (", std::to_string(contact.CheckedPoints), " points)");
        text += "\n";
        if (contact.PartnerLog != kNoIndex) {
            const TCheckLog& other = run.Logs[contact.PartnerLog];
            text += Joined("    ", other.StationCall, " line ", std::to_string(other.Contacts[contact.PartnerContact].Line), ": ", ContactLineText(other, other.Contacts[contact.PartnerContact]), "\n");
        }
    }
    if (!any)
        text += "  none\n";
    return text;
}

bool WriteReports(const TCheckRun& run, std::ostream& err)
{
    const fs::path folder = run.Options.OutFolder;
    std::error_code error;
    fs::create_directories(folder, error);
    if (error || !fs::is_directory(folder)) {
        err << "velmora-check: " << folder.string() << ": the output folder cannot be made"
            << (error ? ": " + error.message() : std::string()) << '\n';
        return false;
    }
    // File names first, so that two calls giving one name get two files
    // whatever order the threads take them in.
    std::set<std::string> taken = {"VERDICTS", "RESULTS"};
    std::vector<std::string> stems;
    stems.reserve(run.Logs.size());
    for (const TCheckLog& log : run.Logs) {
        std::string stem = FileStemOfCall(log.StationCall);
        for (int n = 2; !taken.insert(stem).second; ++n)
            stem = Joined(FileStemOfCall(log.StationCall), "-", std::to_string(n));
        stems.push_back(std::move(stem));
    }

    // The logs' reports are written by a thread of their own, one file after
    // another: making thousands of small files is mostly the file system's
    // work, and it makes the files of one folder one at a time (threads
    // racing for the folder only spin). Meanwhile the others format the
    // verdicts.
    std::ostringstream reportMessages;
    bool reportsWritten = false;
    std::thread reports([&] {
        try {
            reportsWritten = true;
            for (std::size_t l = 0; l < run.Logs.size(); ++l)
                reportsWritten &= WriteWhole(folder / (stems[l] + ".txt"),
                                             [&](std::ostream& out) { out << LogReportText(run, run.Logs[l]); },
                                             reportMessages);
        } catch (const std::exception& failure) {
            reportsWritten = false;
            reportMessages << "velmora-check: the logs' reports cannot be written: " << failure.what() << '\n';
        }
    });
    // Joined however this thread leaves, so that no thread outlives the run.
    const struct TJoin {
        std::thread& Thread;
        ~TJoin()
        {
            if (Thread.joinable())
                Thread.join();
        }
    } join{reports};

    bool ok = true;
    ok &= WriteWhole(folder / "verdicts.csv", [&](std::ostream& out) { WriteVerdictRows(run, out); }, err);
    ok &= WriteWhole(folder / "results.csv", [&](std::ostream& out) { out << ResultsCsvText(run); }, err);
    ok &= WriteWhole(folder / "results.json", [&](std::ostream& out) { out << ResultsJsonText(run); }, err);
    ok &= WriteWhole(folder / "results.txt", [&](std::ostream& out) { out << ResultsText(run); }, err);
    ok &= WriteWhole(folder / "results.html", [&](std::ostream& out) { out << ResultsPageHtml(run); }, err);
    reports.join();
    err << reportMessages.str();
    return ok && reportsWritten;
}
