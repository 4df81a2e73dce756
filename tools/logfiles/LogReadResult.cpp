#include "logfiles/LogReadResult.h"

#include <algorithm>
#include <utility>

#include "logfiles/AsciiText.h"

std::string TLogReadError::Message() const
{
    std::string message;
    if (!File.empty())
        message += File + ": ";
    if (Line > 0)
        message += "line " + std::to_string(Line) + " (byte offset " + std::to_string(ByteOffset) + "): ";
    return message + What;
}

std::string TLogWarning::Message() const
{
    std::string message;
    if (!File.empty())
        message += File + ": ";
    if (Line > 0)
        message += "line " + std::to_string(Line) + ": ";
    return message + "warning: " + What;
}

std::string TLogHeader::Tag(std::string_view name) const
{
    for (const auto& [tag, value] : Tags)
        if (SameLettersIgnoringCase(tag, name))
            return value;
    return {};
}

std::size_t LineAt(std::string_view text, std::size_t offset)
{
    const std::string_view before = text.substr(0, std::min(offset, text.size()));
    return 1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
}

TLogReadResult ReadFailure(std::string what, std::string_view text, std::size_t offset)
{
    TLogReadResult result;
    result.Error = TLogReadError{std::move(what), offset, LineAt(text, offset), {}};
    return result;
}
