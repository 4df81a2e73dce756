#include "hostado/LogDatabase.h"

#include <algorithm>
#include <iterator>
#include <numeric>
#include <stdexcept>
#include <utility>

#include "logfiles/LogCollation.h"

namespace hostado {

namespace {

char FoldAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
}

std::string CellText(const TCell& cell)
{
    if (const auto* text = std::get_if<std::string>(&cell))
        return *text;
    if (const auto* number = std::get_if<std::int32_t>(&cell))
        return std::to_string(*number);
    return {};
}

// Sort keys are built once per row, so sorting 100,000 rows costs plain
// string comparisons and no per-comparison mapping.
std::string SortKey(const std::string& text, TCollation collation)
{
    if (collation != TCollation::CaseInsensitive)
        return text;
    return CaseInsensitiveCollationKey(text);
}

std::vector<std::string_view> Words(std::string_view text)
{
    std::vector<std::string_view> words;
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && isSpace(text[at]))
            ++at;
        const std::size_t start = at;
        while (at < text.size() && !isSpace(text[at]))
            ++at;
        if (at > start)
            words.push_back(text.substr(start, at - start));
    }
    return words;
}

}  // namespace

TLogTable::TLogTable(std::string name, std::vector<std::string> columns)
    : Name_(std::move(name)), Columns_(std::move(columns))
{
}

std::optional<std::size_t> TLogTable::FindColumn(std::string_view name) const
{
    for (std::size_t index = 0; index < Columns_.size(); ++index)
        if (SameIgnoringCase(Columns_[index], name))
            return index;
    return std::nullopt;
}

void TLogTable::AddRow(std::vector<TCell> cells)
{
    if (cells.size() != Columns_.size())
        throw std::invalid_argument("Table '" + Name_ + "' has " + std::to_string(Columns_.size()) +
                                    " columns, the row " + std::to_string(cells.size()) + " cells");
    std::move(cells.begin(), cells.end(), std::back_inserter(Cells_));
}

bool TLogTable::RemoveRow(std::size_t row)
{
    if (row >= RowCount())
        return false;
    const auto first = Cells_.begin() + static_cast<std::ptrdiff_t>(row * Columns_.size());
    Cells_.erase(first, first + static_cast<std::ptrdiff_t>(Columns_.size()));
    return true;
}

std::optional<TSelectStatement> ParseSelectStatement(std::string_view statement)
{
    const std::vector<std::string_view> words = Words(statement);
    if (words.size() != 7 || !SameIgnoringCase(words[0], "select") || words[1] != "*" ||
        !SameIgnoringCase(words[2], "from") || !SameIgnoringCase(words[4], "order") ||
        !SameIgnoringCase(words[5], "by"))
        return std::nullopt;
    return TSelectStatement{std::string(words[3]), std::string(words[6])};
}

TLogTable& TLogDatabase::AddTable(std::string name, std::vector<std::string> columns)
{
    if (FindTable(name))
        throw std::invalid_argument("Table '" + name + "' exists already");
    Tables_.push_back(std::make_unique<TLogTable>(std::move(name), std::move(columns)));
    return *Tables_.back();
}

TLogTable* TLogDatabase::FindTable(std::string_view name)
{
    for (const auto& table : Tables_)
        if (SameIgnoringCase(table->Name(), name))
            return table.get();
    return nullptr;
}

const TLogTable* TLogDatabase::FindTable(std::string_view name) const
{
    return const_cast<TLogDatabase*>(this)->FindTable(name);
}

std::vector<std::size_t> TLogDatabase::RowOrder(const TLogTable& table, std::size_t column) const
{
    std::vector<std::size_t> order(table.RowCount());
    std::iota(order.begin(), order.end(), std::size_t{0});
    if (Collation_ == TCollation::AsInserted)
        return order;

    // false sorts before true: NULL first.
    std::vector<std::pair<bool, std::string>> keys;
    keys.reserve(order.size());
    for (std::size_t row = 0; row < order.size(); ++row) {
        const TCell& cell = table.Cell(row, column);
        keys.emplace_back(!std::holds_alternative<std::monostate>(cell), SortKey(CellText(cell), Collation_));
    }
    std::stable_sort(order.begin(), order.end(), [&keys](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    return order;
}

void TLogDatabase::FailOnce(TFaultPoint point, std::string text, std::size_t row)
{
    Fault_ = TFault{point, row, std::move(text)};
}

std::optional<std::string> TLogDatabase::TakeFault(TFaultPoint point, std::size_t row)
{
    if (!Fault_ || Fault_->Point != point)
        return std::nullopt;
    if (Fault_->Row != row && point != TFaultPoint::Open && point != TFaultPoint::Close)
        return std::nullopt;
    std::string text = std::move(Fault_->Text);
    Fault_.reset();
    return text;
}

}  // namespace hostado
