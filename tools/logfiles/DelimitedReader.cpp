#include "logfiles/DelimitedReader.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "logfiles/AsciiText.h"
#include "logfiles/BandNames.h"
#include "logfiles/ReaderWarnings.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// "14025" (kHz) written as MHz: "14.025".
std::string KilohertzAsMegahertz(std::string_view digits)
{
    std::string megahertz(digits);
    if (megahertz.size() <= 3)
        megahertz.insert(0, 4 - megahertz.size(), '0');
    megahertz.insert(megahertz.size() - 3, 1, '.');
    return megahertz;
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

std::optional<THeaderColumn> FindHeaderColumn(std::string_view name)
{
    name = TrimLogBlanks(name);
    if (const std::optional<TLogColumn> column = FindLogColumn(name))
        return THeaderColumn{column, false};
    struct TAlias {
        std::string_view Name;
        TLogColumn Column;
    };
    static constexpr TAlias kAliases[] = {
        {"call", TLogColumn::CallSign},
        {"band", TLogColumn::DigiBand},
        {"mode", TLogColumn::QSOMode},
        {"rcvd", TLogColumn::QSOReportRecived},
        {"exchange", TLogColumn::QSOReportRecived},
    };
    for (const TAlias& alias : kAliases)
        if (SameLettersIgnoringCase(name, alias.Name))
            return THeaderColumn{alias.Column, false};
    if (SameLettersIgnoringCase(name, "freq") || SameLettersIgnoringCase(name, "frequency"))
        return THeaderColumn{std::nullopt, true};
    return std::nullopt;
}

std::optional<std::string> BandOfFrequencyCell(std::string_view cell)
{
    cell = TrimLogBlanks(cell);
    if (cell.empty())
        return std::nullopt;
    if (cell.find_first_not_of("0123456789.") != std::string_view::npos)
        return KnownBandName(cell);
    if (cell.find('.') == std::string_view::npos && cell.size() >= 4) {
        std::optional<std::string> asKilohertz = BandOfMegahertz(KilohertzAsMegahertz(cell));
        if (asKilohertz)
            return asKilohertz;
    }
    return BandOfMegahertz(cell);
}

TLogReadResult ReadDelimited(std::string_view text)
{
    const std::size_t start = text.substr(0, kByteOrderMark.size()) == kByteOrderMark ? kByteOrderMark.size() : 0;
    TRecordScanner scanner(text, start, DetectDelimiter(text.substr(start)));

    const std::optional<TRecord> header = scanner.Next();
    if (!header)
        return scanner.Error() ? *scanner.Error() : ReadFailure("no header row naming the log columns", text, start);

    // What each cell of a row is read as, if anything.
    std::vector<std::optional<THeaderColumn>> targets;
    std::vector<bool> named(kLogColumnCount, false);
    std::optional<std::size_t> frequencyCell;
    std::string ignored;
    for (std::size_t cell = 0; cell < header->Cells.size(); ++cell) {
        const std::string& name = header->Cells[cell];
        std::optional<THeaderColumn> target = FindHeaderColumn(name);
        const bool repeated = target && (target->IsFrequency ? frequencyCell.has_value()
                                                             : named[static_cast<std::size_t>(*target->Column)]);
        if (!target || repeated) {
            ignored += (ignored.empty() ? "'" : ", '") + std::string(TrimLogBlanks(name)) + "'" +
                       (repeated ? " (repeated)" : "");
            target.reset();
        } else if (target->IsFrequency) {
            frequencyCell = cell;
        } else {
            named[static_cast<std::size_t>(*target->Column)] = true;
        }
        targets.push_back(target);
    }
    if (!named[static_cast<std::size_t>(TLogColumn::CallSign)])
        return ReadFailure("the header row names no CallSign column", text, header->Start);

    TLineCounter lines(text);
    TWarningList warnings;
    TUnnamedBands unnamed;
    const std::size_t headerLine = lines.LineOf(header->Start);
    if (!ignored.empty())
        warnings.Add("columns ignored", headerLine,
                     "columns ignored, not log columns: " + ignored +
                         " (the log columns: CallSign or call, DigiBand or band, QSOMode or mode, "
                         "QSOReportRecived or rcvd or exchange, Continent, ITUZone, MainPrefix, DXCCPrefix; "
                         "and freq)");
    const bool hasBand = named[static_cast<std::size_t>(TLogColumn::DigiBand)];
    if (!hasBand && !frequencyCell)
        warnings.Add(logwarnings::kNoBandNoFrequency, headerLine);

    TLogReadResult result;
    result.Format = TLogFormat::Delimited;
    std::size_t recordNumber = 0;
    while (std::optional<TRecord> record = scanner.Next()) {
        if (record->Cells.size() != targets.size())
            return ReadFailure("row of " + std::to_string(record->Cells.size()) + " cells where the header has " +
                                   std::to_string(targets.size()),
                               text, record->Start);
        ++recordNumber;
        TLogRow row;
        for (std::size_t cell = 0; cell < targets.size(); ++cell)
            if (targets[cell] && targets[cell]->Column)
                row[*targets[cell]->Column] = std::move(record->Cells[cell]);

        const std::size_t line = lines.LineOf(record->Start);
        if (TrimLogBlanks(*row[TLogColumn::CallSign]).empty()) {
            warnings.Add(logwarnings::kContactWithoutCall, line);
            continue;
        }
        TBandSources sources;
        if (row[TLogColumn::DigiBand])
            sources.BandField = *row[TLogColumn::DigiBand];
        if (frequencyCell) {
            sources.Frequency = record->Cells[*frequencyCell];
            sources.FrequencyBand = BandOfFrequencyCell(record->Cells[*frequencyCell]);
        }
        std::optional<std::string> band = ResolveBand(sources, line, warnings, unnamed);

        TLogContact contact;
        contact.Line = recordNumber;
        if (frequencyCell)
            contact.Frequency = std::string(TrimLogBlanks(record->Cells[*frequencyCell]));
        contact.Band = band.value_or(std::string());
        contact.Mode = std::string(TrimLogBlanks(row[TLogColumn::QSOMode].value_or(std::string())));
        contact.Call = std::string(TrimLogBlanks(*row[TLogColumn::CallSign]));
        contact.ReceivedExchange = SplitLogWords(row[TLogColumn::QSOReportRecived].value_or(std::string()));
        row[TLogColumn::DigiBand] = std::move(band);
        result.Rows.push_back(std::move(row));
        result.Contacts.push_back(std::move(contact));
    }
    if (scanner.Error())
        return *scanner.Error();
    if (result.Rows.empty())
        warnings.Add(logwarnings::kNoContacts, 0);
    unnamed.AppendTo(warnings);
    result.Warnings = warnings.Take();
    return result;
}
