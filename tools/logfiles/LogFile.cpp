#include "logfiles/LogFile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <system_error>
#include <utility>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "logfiles/AsciiText.h"
#include "logfiles/AdifReader.h"
#include "logfiles/CabrilloReader.h"
#include "logfiles/DelimitedReader.h"
#include "logfiles/ReaderWarnings.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// `text` starts with `lowerPrefix`, letter case ignored.
bool StartsWithIgnoringCase(std::string_view text, std::string_view lowerPrefix)
{
    if (text.size() < lowerPrefix.size())
        return false;
    for (std::size_t at = 0; at < lowerPrefix.size(); ++at)
        if (LowerAscii(text[at]) != lowerPrefix[at])
            return false;
    return true;
}

// An ADIF tag "<eor>" or "<eoh>" anywhere, letter case ignored, without
// copying the text.
bool HoldsAdifEndTag(std::string_view text)
{
    for (std::size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1))
        if (StartsWithIgnoringCase(text.substr(at), "<eor>") || StartsWithIgnoringCase(text.substr(at), "<eoh>"))
            return true;
    return false;
}

// "<NAME:digits" somewhere: a field tag, well formed or not.
bool HoldsAdifFieldTag(std::string_view text)
{
    for (std::size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1)) {
        std::size_t end = at + 1;
        while (end < text.size() && (std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '_'))
            ++end;
        if (end > at + 1 && end + 1 < text.size() && text[end] == ':' && text[end + 1] >= '0' && text[end + 1] <= '9')
            return true;
    }
    return false;
}

std::string_view FirstLineNotBlank(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find_first_of("\r\n", at);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = TrimLogBlanks(text.substr(at, end - at));
        if (!line.empty())
            return line;
        at = end + 1;
    }
    return {};
}

bool HoldsCabrilloContactLine(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
            ++at;
        const std::string_view rest = text.substr(at);
        if (StartsWithIgnoringCase(rest, "qso:") || StartsWithIgnoringCase(rest, "x-qso:"))
            return true;
        const std::size_t end = text.find_first_of("\r\n", at);
        if (end == std::string_view::npos)
            return false;
        at = end + 1;
    }
    return false;
}

// A header row of a delimited log: one of its cells names a log column.
bool LooksLikeHeaderRow(std::string_view line)
{
    const char delimiter = DetectDelimiter(line);
    std::size_t at = 0;
    while (true) {
        const std::size_t end = line.find(delimiter, at);
        std::string_view cell = line.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
        cell = TrimLogBlanks(cell);
        if (cell.size() >= 2 && cell.front() == '"' && cell.back() == '"')
            cell = cell.substr(1, cell.size() - 2);
        if (FindHeaderColumn(cell))
            return true;
        if (end == std::string_view::npos)
            return false;
        at = end + 1;
    }
}

// Why a path cannot be read as a file, before anything is opened.
std::optional<std::string> UnreadableReason(const std::string& path)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found)
        return "no such file";
    if (status.type() == std::filesystem::file_type::directory)
        return "is a folder, not a log file";
    if (error)
        return "cannot be read (" + error.message() + ")";
    return std::nullopt;
}

// An error about the text as a whole, with no line of its own.
TLogReadResult WholeTextFailure(std::string what)
{
    TLogReadResult result;
    result.Error = TLogReadError{std::move(what), 0, 0, {}};
    return result;
}

TLogReadResult NamedFailure(const std::string& name, std::string what)
{
    TLogReadResult result;
    result.Error = TLogReadError{std::move(what), 0, 0, name};
    return result;
}

}  // namespace

std::optional<TLogFormat> FormatOfFileName(std::string_view path)
{
    const std::string extension = LowerAscii(std::filesystem::path(path).extension().string());
    if (extension == ".adi" || extension == ".adif")
        return TLogFormat::Adif;
    if (extension == ".csv" || extension == ".tsv" || extension == ".txt")
        return TLogFormat::Delimited;
    if (extension == ".cbr")
        return TLogFormat::Cabrillo;
    return std::nullopt;
}

std::optional<TLogFormat> DetectLogFormat(std::string_view text, std::optional<TLogFormat> nameHint)
{
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    const std::string_view firstLine = FirstLineNotBlank(text);
    if (StartsWithIgnoringCase(firstLine, "start-of-log:"))
        return TLogFormat::Cabrillo;
    if (HoldsAdifEndTag(text))
        return TLogFormat::Adif;
    if (HoldsCabrilloContactLine(text))
        return TLogFormat::Cabrillo;
    if (!firstLine.empty() && LooksLikeHeaderRow(firstLine))
        return TLogFormat::Delimited;
    if (nameHint == TLogFormat::Adif && HoldsAdifFieldTag(text))
        return TLogFormat::Adif;
    if (nameHint == TLogFormat::Delimited)
        return TLogFormat::Delimited;
    return std::nullopt;
}

TLogFormat SniffLogFormat(std::string_view text) { return DetectLogFormat(text).value_or(TLogFormat::Delimited); }

TLogReadResult ReadLogText(std::string_view text, TLogFormat format)
{
    switch (format) {
    case TLogFormat::Adif: return ReadAdif(text);
    case TLogFormat::Cabrillo: return ReadCabrillo(text);
    case TLogFormat::Delimited: break;
    }
    return ReadDelimited(text);
}

TLogReadResult ReadLogTextOfAnyFormat(std::string_view text, std::optional<TLogFormat> nameHint)
{
    std::string_view content = text;
    if (content.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        content.remove_prefix(kByteOrderMark.size());
    if (TrimLogBlanks(content).empty())
        return WholeTextFailure("the file is empty: no log in it");
    if (const std::optional<TLogFormat> format = DetectLogFormat(text, nameHint))
        return ReadLogText(text, *format);
    if (nameHint == TLogFormat::Adif)
        return WholeTextFailure("no ADIF tag in the file, which its name gives as ADIF");
    return WholeTextFailure("not a log in any format read here: tried ADIF (no <EOR> or <EOH> tag), Cabrillo (no "
                            "START-OF-LOG: or QSO: line) and CSV/TSV (no header row of column names)");
}

TLogReadResult LoadLogStream(std::istream& in, const std::string& name)
{
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return NamedFailure(name, "cannot be read to its end");
    TLogReadResult result = ReadLogTextOfAnyFormat(text, FormatOfFileName(name));
    if (result.Error)
        result.Error->File = name;
    for (TLogWarning& warning : result.Warnings)
        warning.File = name;
    return result;
}

TLogReadResult LoadLogFile(const std::string& path)
{
    if (path == "-") {
#ifdef _WIN32
        // Line breaks reach the reader as they are, as from a file.
        _setmode(_fileno(stdin), _O_BINARY);
#endif
        return LoadLogStream(std::cin, std::string(kStandardInputName));
    }
    if (std::optional<std::string> reason = UnreadableReason(path))
        return NamedFailure(path, *reason);
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return NamedFailure(path, "cannot be opened");
    return LoadLogStream(file, path);
}

bool HasLogFileName(std::string_view path)
{
    const std::string extension = LowerAscii(std::filesystem::path(path).extension().string());
    static constexpr std::string_view kLogExtensions[] = {".log", ".cbr", ".cabrillo", ".adi",
                                                          ".adif", ".csv", ".tsv", ".txt"};
    return std::find(std::begin(kLogExtensions), std::end(kLogExtensions), extension) != std::end(kLogExtensions);
}

std::optional<std::vector<std::string>> LogFilesOfFolder(const std::string& folder, std::string& why)
{
    std::error_code error;
    std::vector<std::string> files;
    const bool endsInSeparator = !folder.empty() && (folder.back() == '/' || folder.back() == '\\');
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        std::error_code entryError;
        if (name.empty() || name.front() == '.' || !entry->is_regular_file(entryError) || !HasLogFileName(name))
            continue;
        std::string file = folder;
        if (!endsInSeparator)
            file += '/';
        file += name;
        files.push_back(std::move(file));
    }
    if (error) {
        why = "cannot be listed (" + error.message() + ")";
        return std::nullopt;
    }
    std::sort(files.begin(), files.end());
    return files;
}
