#include "contest-sim/SimFiles.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <system_error>

namespace {

std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string Padded(const std::string& text, std::size_t width)
{
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

// The date and time fields of a QSO line: "2026-03-01 1200".
std::string CabrilloTime(TMinute minute)
{
    const std::string text = MinuteText(minute);  // 2026-03-01T12:00Z
    return text.substr(0, 10) + ' ' + text.substr(11, 2) + text.substr(14, 2);
}

std::string QsoLine(const TSimStation& self, const TSimEntry& entry)
{
    const char* report = ReportOf(entry.Mode);
    std::string line = entry.XQso ? "X-QSO: " : "QSO: ";
    line += Padded(std::to_string(entry.FrequencyKHz), 5) + ' ';
    line += Padded(ModeText(self, entry.Mode), 2) + ' ';
    line += CabrilloTime(entry.LoggedMinute) + ' ';
    line += Padded(self.Call, 13) + ' ' + Padded(report, 3) + ' ' + Padded(entry.SentExchange, 6) + ' ';
    line += Padded(entry.Call, 13) + ' ' + Padded(report, 3) + ' ' + entry.ReceivedExchange;
    return line;
}

std::vector<std::size_t> LogsByCall(const TSimContest& contest)
{
    std::vector<std::size_t> order(contest.Logs.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&contest](std::size_t a, std::size_t b) {
        return contest.Stations[contest.Logs[a].Station].Call < contest.Stations[contest.Logs[b].Station].Call;
    });
    return order;
}

bool WriteFile(const std::filesystem::path& path, const std::string& text, std::string& error)
{
    std::ofstream file(path, std::ios::binary);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    if (!file) {
        error = path.string() + ": cannot be written";
        return false;
    }
    return true;
}

}  // namespace

std::string LogFileName(const std::string& call)
{
    std::string name = call;
    std::replace(name.begin(), name.end(), '/', '-');
    return name + ".log";
}

std::string CabrilloText(const TSimContest& contest, const TSimLog& log)
{
    const TSimStation& self = contest.Stations[log.Station];
    const char* end = log.CrLf ? "\r\n" : "\n";
    // Exactly TSimLog::HeaderLines lines before the first QSO line.
    std::string text;
    text += std::string("START-OF-LOG: 3.0") + end;
    text += std::string("CREATED-BY: velmora-contest-sim") + end;
    text += std::string("CONTEST: VELMORA-CUP") + end;
    text += "CALLSIGN: " + self.Call + end;
    text += "CATEGORY-OPERATOR: " + log.Category + end;
    text += std::string("CATEGORY-BAND: ALL") + end;
    text += std::string("CATEGORY-MODE: MIXED") + end;
    text += "CLAIMED-SCORE: " + std::to_string(log.ClaimedScore) + end;
    text += "OPERATORS: " + self.Call + end;
    for (const TSimEntry& entry : log.Entries)
        text += QsoLine(self, entry) + end;
    text += std::string("END-OF-LOG:") + end;
    return text;
}

std::string MemberFileText(const TSimContest& contest)
{
    std::string text;
    for (const TSimStation& station : contest.Stations)
        if (station.Member != 0)
            text += station.Call + "=VC" + std::to_string(station.Member) + "\r\n";
    return text;
}

std::string VerdictsCsvText(const TSimContest& contest, const std::vector<TLogTruth>& truths)
{
    std::string text = "log,line,call,band,mode,time,verdict,points,detail\n";
    for (std::size_t log : LogsByCall(contest)) {
        const TSimLog& simLog = contest.Logs[log];
        const TSimStation& self = contest.Stations[simLog.Station];
        for (std::size_t i = 0; i < simLog.Entries.size(); ++i) {
            const TSimEntry& entry = simLog.Entries[i];
            const TLineTruth& line = truths[log].Lines[i];
            text += CsvField(self.Call) + ',' + std::to_string(entry.Line) + ',' + CsvField(entry.Call) + ',' +
                    kSimBandNames[entry.Band] + ',' + ModeText(self, entry.Mode) + ',' +
                    MinuteText(entry.LoggedMinute) + ',' + std::string(VerdictName(line.Verdict)) + ',' +
                    std::to_string(line.Points) + ',' + CsvField(line.Detail) + '\n';
        }
    }
    return text;
}

std::string ResultsCsvText(const TSimContest& contest, const std::vector<TLogTruth>& truths)
{
    std::vector<std::size_t> order = LogsByCall(contest);
    std::stable_sort(order.begin(), order.end(),
                     [&truths](std::size_t a, std::size_t b) { return truths[a].CheckedScore > truths[b].CheckedScore; });
    std::string text =
        "rank,station,category,claimed_contacts,checked_contacts,claimed_score,checked_score,stated_claimed_score,"
        "ok,dupe,busted_call,nil,busted_exchange,unique,no_log,out_of_period,x_qso,error_rate,clock_offset_min\n";
    std::size_t rank = 0;
    for (std::size_t log : order) {
        const TSimLog& simLog = contest.Logs[log];
        const TSimStation& self = contest.Stations[simLog.Station];
        const TLogTruth& truth = truths[log];
        const auto count = [&truth](TVerdict verdict) {
            return std::to_string(truth.Counts[static_cast<std::size_t>(verdict)]);
        };
        // The share of claimed contacts lost to a fault of copying or logging.
        const std::size_t faults = truth.Counts[static_cast<std::size_t>(TVerdict::BustedCall)] +
                                   truth.Counts[static_cast<std::size_t>(TVerdict::Nil)] +
                                   truth.Counts[static_cast<std::size_t>(TVerdict::BustedExchange)];
        const double lost = truth.ClaimedContacts == 0 ? 0.0
                                                       : static_cast<double>(faults) /
                                                             static_cast<double>(truth.ClaimedContacts);
        char errorRate[32];
        (void)std::snprintf(errorRate, sizeof errorRate, "%.4f", lost);
        const int offset = self.ClockOffset > 1 || self.ClockOffset < -1 ? self.ClockOffset : 0;
        text += std::to_string(++rank) + ',' + CsvField(self.Call) + ',' + simLog.Category + " ALL MIXED," +
                std::to_string(truth.ClaimedContacts) + ',' + std::to_string(truth.CheckedContacts) + ',' +
                std::to_string(truth.ClaimedScore) + ',' + std::to_string(truth.CheckedScore) + ',' +
                std::to_string(simLog.ClaimedScore) + ',' + count(TVerdict::Ok) + ',' + count(TVerdict::Dupe) + ',' +
                count(TVerdict::BustedCall) + ',' + count(TVerdict::Nil) + ',' + count(TVerdict::BustedExchange) +
                ',' + count(TVerdict::Unique) + ',' + count(TVerdict::NoLog) + ',' + count(TVerdict::OutOfPeriod) +
                ',' + count(TVerdict::XQso) + ',' + errorRate + ',' + std::to_string(offset) + '\n';
    }
    return text;
}

bool WriteContestFiles(const TSimContest& contest, const std::vector<TLogTruth>& truths, const std::string& folder,
                       std::string& error)
{
    namespace fs = std::filesystem;
    std::error_code code;
    const fs::path root(folder);
    if (fs::exists(root, code) && !(fs::is_directory(root, code) && fs::is_empty(root, code))) {
        error = folder + ": already exists and is not an empty folder; nothing written";
        return false;
    }
    fs::create_directories(root / "logs", code);
    if (!code)
        fs::create_directories(root / "truth", code);
    if (code) {
        error = folder + ": cannot be created (" + code.message() + ")";
        return false;
    }
    for (const TSimLog& log : contest.Logs) {
        if (!WriteFile(root / "logs" / LogFileName(contest.Stations[log.Station].Call), CabrilloText(contest, log),
                       error))
            return false;
    }
    return WriteFile(root / "VC.dom", MemberFileText(contest), error) &&
           WriteFile(root / "truth" / "verdicts.csv", VerdictsCsvText(contest, truths), error) &&
           WriteFile(root / "truth" / "results.csv", ResultsCsvText(contest, truths), error);
}
