#include "logfiles/LogFile.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "logfiles/AdifReader.h"
#include "logfiles/DelimitedReader.h"

namespace {

std::string LowerAscii(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
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

}  // namespace

std::optional<TLogFormat> FormatOfFileName(std::string_view path)
{
    const std::string extension = LowerAscii(std::filesystem::path(path).extension().string());
    if (extension == ".adi" || extension == ".adif")
        return TLogFormat::Adif;
    if (extension == ".csv" || extension == ".tsv" || extension == ".txt")
        return TLogFormat::Delimited;
    return std::nullopt;
}

TLogFormat SniffLogFormat(std::string_view text)
{
    const std::string lower = LowerAscii(text);
    return lower.find("<eor>") != std::string::npos || lower.find("<eoh>") != std::string::npos ? TLogFormat::Adif
                                                                                                 : TLogFormat::Delimited;
}

TLogReadResult ReadLogText(std::string_view text, TLogFormat format)
{
    return format == TLogFormat::Adif ? ReadAdif(text) : ReadDelimited(text);
}

TLogReadResult LoadLogFile(const std::string& path)
{
    const auto fail = [&path](std::string what) {
        TLogReadResult result;
        result.Error = TLogReadError{std::move(what), 0, 0, path};
        return result;
    };
    if (std::optional<std::string> reason = UnreadableReason(path))
        return fail(*reason);

    std::ifstream file(path, std::ios::binary);
    if (!file)
        return fail("cannot be opened");
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad())
        return fail("cannot be read to its end");

    const std::optional<TLogFormat> named = FormatOfFileName(path);
    TLogReadResult result = ReadLogText(text, named ? *named : SniffLogFormat(text));
    if (result.Error)
        result.Error->File = path;
    return result;
}
