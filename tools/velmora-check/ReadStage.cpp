#include "velmora-check/ReadStage.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_map>

#include "logfiles/LogFile.h"
#include "logfiles/LogReadResult.h"
#include "velmora-check/Normalise.h"

namespace fs = std::filesystem;

namespace {

std::string JoinFields(const std::vector<std::string>& fields)
{
    std::string joined;
    for (const std::string& field : fields) {
        if (!joined.empty())
            joined += ' ';
        joined += field;
    }
    return joined;
}

std::string CategoryOf(const TLogHeader& header)
{
    std::string category;
    for (const char* tag : {"CATEGORY-OPERATOR", "CATEGORY-BAND", "CATEGORY-MODE", "CATEGORY-POWER"}) {
        const std::string value = header.Tag(tag);
        if (value.empty())
            continue;
        if (!category.empty())
            category += ' ';
        category += value;
    }
    return category.empty() ? header.Tag("CATEGORY") : category;
}

struct TReadOutcome {
    std::optional<TCheckLog> Log;
    std::string Reason;
};

TReadOutcome ReadOne(const std::string& file)
{
    TReadOutcome outcome;
    try {
        std::error_code error;
        const std::uintmax_t size = fs::file_size(file, error);
        if (!error && size > kLargestLogFile) {
            outcome.Reason = Joined(file, ": larger than ", std::to_string(kLargestLogFile >> 20), " MiB, not read");
            return outcome;
        }
        const TLogReadResult read = LoadLogFile(file);
        TCheckLog log;
        if (KeepReadLog(file, read, log, outcome.Reason))
            outcome.Log = std::move(log);
    } catch (const std::exception& failure) {
        outcome.Reason = Joined(file, ": ", failure.what());
    }
    return outcome;
}

}  // namespace

std::vector<std::string> ListLogFiles(const std::vector<std::string>& inputs, std::vector<TLeftOutLog>& leftOut)
{
    std::vector<std::string> files;
    for (const std::string& input : inputs) {
        if (input == "-") {
            files.push_back(input);
            continue;
        }
        std::error_code error;
        const fs::file_status status = fs::status(input, error);
        if (fs::is_directory(status)) {
            std::string why;
            const std::optional<std::vector<std::string>> inFolder = LogFilesOfFolder(input, why);
            if (!inFolder) {
                leftOut.push_back({input, Joined(input, ": folder ", why)});
                continue;
            }
            // Paths as the system writes them, as a file named on its own.
            for (const std::string& file : *inFolder)
                files.push_back((fs::path(input) / fs::path(file).filename()).string());
        } else if (fs::exists(status)) {
            files.push_back(input);
        } else {
            leftOut.push_back({input, Joined(input, ": no such file or folder")});
        }
    }
    return files;
}

bool KeepReadLog(const std::string& file, const TLogReadResult& read, TCheckLog& log, std::string& reason)
{
    if (read.Error) {
        TLogReadError error = *read.Error;
        if (error.File.empty())
            error.File = file;
        reason = error.Message();
        return false;
    }
    log.File = file;
    log.StationCall = NormaliseCall(read.Header.StationCall);
    for (std::size_t i = 0; log.StationCall.empty() && i < read.Contacts.size(); ++i)
        log.StationCall = NormaliseCall(read.Contacts[i].MyCall);
    if (log.StationCall.empty()) {
        reason = file + ": the log does not say which station sent it (no CALLSIGN: line, no call of its own)";
        return false;
    }
    log.Category = CategoryOf(read.Header);
    if (read.Header.ClaimedScore)
        log.StatedClaimedScore = std::to_string(*read.Header.ClaimedScore);
    log.Warnings.reserve(read.Warnings.size());
    for (const TLogWarning& warning : read.Warnings)
        log.Warnings.push_back(warning.Message());

    std::size_t nextRow = 0;
    log.Contacts.reserve(read.Contacts.size());
    for (const TLogContact& source : read.Contacts) {
        TCheckContact& contact = log.Contacts.emplace_back();
        contact.Line = static_cast<std::uint32_t>(source.Line);
        contact.Frequency = log.Keep(source.Frequency);
        contact.Band = log.Keep(source.Band);
        contact.Mode = log.Keep(source.Mode);
        contact.Date = log.Keep(source.Date);
        contact.Time = log.Keep(source.Time);
        contact.MyCall = log.Keep(source.MyCall);
        contact.Sent = log.Keep(JoinFields(source.SentExchange));
        contact.Call = log.Keep(source.Call);
        contact.Received = log.Keep(JoinFields(source.ReceivedExchange));
        contact.TransmitterId = log.Keep(source.TransmitterId);
        contact.IsXQso = source.IsXQso;
        if (source.IsXQso)
            continue;
        if (nextRow >= read.Rows.size()) {
            reason = Joined(file, ": line ", std::to_string(source.Line), ": the contact has no row in the log table");
            return false;
        }
        const TLogRow& row = read.Rows[nextRow++];
        const TLogColumn columns[kScoringCellCount] = {TLogColumn::CallSign, TLogColumn::DigiBand, TLogColumn::QSOMode,
                                                       TLogColumn::QSOReportRecived};
        for (std::size_t cell = 0; cell < kScoringCellCount; ++cell) {
            const TLogCell& value = row[columns[cell]];
            if (!value) {
                contact.RowNullCells = static_cast<std::uint8_t>(contact.RowNullCells | (1u << cell));
                continue;
            }
            // Most cells repeat a text already kept for the contact.
            const TTextRef same[kScoringCellCount] = {contact.Call, contact.Band, contact.Mode, contact.Received};
            contact.RowCells[cell] = log.Text(same[cell]) == *value ? same[cell] : log.Keep(*value);
        }
    }
    if (nextRow != read.Rows.size()) {
        reason = file + ": the log table has rows without a contact";
        return false;
    }
    log.Texts.shrink_to_fit();
    return true;
}

void ReadLogs(TCheckRun& run, const std::vector<std::string>& files, unsigned jobs, const TReadProgress& progress)
{
    std::vector<TReadOutcome> outcomes(files.size());
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> done{0};
    std::mutex mutex;
    std::condition_variable finished;

    const auto work = [&] {
        for (std::size_t i = next++; i < files.size(); i = next++) {
            outcomes[i] = ReadOne(files[i]);
            if (++done == files.size()) {
                const std::lock_guard lock(mutex);
                finished.notify_all();
            }
        }
    };
    const unsigned threadCount =
        std::max(1u, std::min<unsigned>(jobs == 0 ? std::max(1u, std::thread::hardware_concurrency()) : jobs,
                                         static_cast<unsigned>(std::max<std::size_t>(1, files.size()))));
    std::vector<std::thread> threads;
    for (unsigned t = 0; threadCount > 1 && t < threadCount; ++t)
        threads.emplace_back(work);
    if (threadCount == 1) {
        work();
    } else {
        std::unique_lock lock(mutex);
        while (!finished.wait_for(lock, std::chrono::milliseconds(200), [&] { return done == files.size(); }))
            if (progress)
                progress(done, files.size());
    }
    for (std::thread& thread : threads)
        thread.join();
    if (progress)
        progress(files.size(), files.size());

    std::unordered_map<std::string, std::string> fileOfStation;
    for (std::size_t i = 0; i < files.size(); ++i) {
        TReadOutcome& outcome = outcomes[i];
        if (!outcome.Log) {
            run.LeftOut.push_back({files[i], std::move(outcome.Reason)});
            continue;
        }
        const auto [first, added] = fileOfStation.emplace(outcome.Log->StationCall, files[i]);
        if (!added) {
            run.LeftOut.push_back({files[i], Joined(files[i], ": a second log of ", outcome.Log->StationCall,
                                                    " (the first, ", first->second, ", is checked)")});
            continue;
        }
        run.Logs.push_back(std::move(*outcome.Log));
    }
}
