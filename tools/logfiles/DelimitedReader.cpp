#include "logfiles/DelimitedReader.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view TrimBlanks(std::string_view text)
{
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// One record of the file: its cells and where it began.
struct TRecord {
    std::vector<std::string> Cells;
    std::size_t Start = 0;
};

// Splits the text into records, one at a time, keeping track of where it is.
class TRecordScanner {
public:
    TRecordScanner(std::string_view text, std::size_t start, char delimiter)
        : Text_(text), At_(start), Delimiter_(delimiter)
    {
    }

    bool AtEnd() const { return At_ >= Text_.size(); }

    // The next record that is not an empty line, or nullopt at the end of the
    // text. On a quoting error, nullopt with Error() set.
    std::optional<TRecord> Next()
    {
        while (!AtEnd() && LineBreakLength(At_) > 0)
            At_ += LineBreakLength(At_);
        if (AtEnd())
            return std::nullopt;

        TRecord record;
        record.Start = At_;
        while (true) {
            std::optional<std::string> cell = !AtEnd() && Text_[At_] == '"' ? QuotedCell() : UnquotedCell();
            if (!cell)
                return std::nullopt;
            record.Cells.push_back(std::move(*cell));
            if (AtEnd())
                return record;
            if (Text_[At_] == Delimiter_) {
                ++At_;
                continue;
            }
            At_ += LineBreakLength(At_);
            return record;
        }
    }

    const std::optional<TLogReadResult>& Error() const { return Error_; }

private:
    // 2 for CR LF, 1 for LF or a CR at the very end, 0 for anything else.
    std::size_t LineBreakLength(std::size_t at) const
    {
        if (Text_[at] == '\n')
            return 1;
        if (Text_[at] == '\r')
            return at + 1 == Text_.size() ? 1 : (Text_[at + 1] == '\n' ? 2 : 0);
        return 0;
    }

    bool AtCellEnd() const { return AtEnd() || Text_[At_] == Delimiter_ || LineBreakLength(At_) > 0; }

    std::optional<std::string> UnquotedCell()
    {
        const std::size_t start = At_;
        while (!AtCellEnd())
            ++At_;
        return std::string(Text_.substr(start, At_ - start));
    }

    std::optional<std::string> QuotedCell()
    {
        const std::size_t opening = At_++;
        std::string cell;
        while (true) {
            const std::size_t quote = Text_.find('"', At_);
            if (quote == std::string_view::npos) {
                Error_ = ReadFailure("quote opened here is never closed", Text_, opening);
                return std::nullopt;
            }
            cell.append(Text_.substr(At_, quote - At_));
            At_ = quote + 1;
            if (At_ < Text_.size() && Text_[At_] == '"') {
                cell.push_back('"');
                ++At_;
                continue;
            }
            break;
        }
        if (!AtCellEnd()) {
            Error_ = ReadFailure("text after the closing quote of a cell", Text_, At_);
            return std::nullopt;
        }
        return cell;
    }

    std::string_view Text_;
    std::size_t At_;
    char Delimiter_;
    std::optional<TLogReadResult> Error_;
};

}  // namespace

char DetectDelimiter(std::string_view text)
{
    const std::string_view header = text.substr(0, text.find('\n'));
    for (char candidate : {'\t', ',', ';'})
        if (header.find(candidate) != std::string_view::npos)
            return candidate;
    return ',';
}

TLogReadResult ReadDelimited(std::string_view text)
{
    const std::size_t start = text.substr(0, kByteOrderMark.size()) == kByteOrderMark ? kByteOrderMark.size() : 0;
    TRecordScanner scanner(text, start, DetectDelimiter(text.substr(start)));

    const std::optional<TRecord> header = scanner.Next();
    if (!header)
        return scanner.Error() ? *scanner.Error() : ReadFailure("no header row naming the log columns", text, start);

    // The log column each cell of a row goes to, if any.
    std::vector<std::optional<TLogColumn>> targets;
    std::vector<bool> named(kLogColumnCount, false);
    for (const std::string& name : header->Cells) {
        std::optional<TLogColumn> column = FindLogColumn(TrimBlanks(name));
        if (column && named[static_cast<std::size_t>(*column)])
            column.reset();
        if (column)
            named[static_cast<std::size_t>(*column)] = true;
        targets.push_back(column);
    }
    if (!named[static_cast<std::size_t>(TLogColumn::CallSign)])
        return ReadFailure("the header row names no CallSign column", text, header->Start);

    TLogReadResult result;
    while (const std::optional<TRecord> record = scanner.Next()) {
        if (record->Cells.size() != targets.size())
            return ReadFailure("row of " + std::to_string(record->Cells.size()) + " cells where the header has " +
                                   std::to_string(targets.size()),
                               text, record->Start);
        TLogRow row;
        for (std::size_t cell = 0; cell < targets.size(); ++cell)
            if (targets[cell])
                row[*targets[cell]] = record->Cells[cell];
        result.Rows.push_back(std::move(row));
    }
    if (scanner.Error())
        return *scanner.Error();
    return result;
}
