// The host's log database, kept in memory: tables of named columns whose
// cells are NULL, single-byte text or 32-bit integers. It knows the one
// statement the plug-in sends, sorts like a database of the host's choosing,
// and can be told to fail one chosen call so hosts can test how failures
// reach the user.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace hostado {

// NULL, a text kept byte for byte as given, or a 32-bit integer.
using TCell = std::variant<std::monostate, std::string, std::int32_t>;
inline constexpr std::monostate Null{};

class TLogTable {
public:
    TLogTable(std::string name, std::vector<std::string> columns);

    const std::string& Name() const { return Name_; }
    const std::vector<std::string>& Columns() const { return Columns_; }
    // The first column of that name, letter case ignored.
    std::optional<std::size_t> FindColumn(std::string_view name) const;

    // One cell per column, in column order; anything else throws
    // std::invalid_argument.
    void AddRow(std::vector<TCell> cells);
    // Removes row `row` (from 0); the rows after it move up by one. No
    // recordset may be open over the table meanwhile. False when there is no
    // such row.
    bool RemoveRow(std::size_t row);
    void Reserve(std::size_t rows) { Cells_.reserve(rows * Columns_.size()); }
    std::size_t RowCount() const { return Columns_.empty() ? 0 : Cells_.size() / Columns_.size(); }
    const TCell& Cell(std::size_t row, std::size_t column) const { return Cells_[row * Columns_.size() + column]; }

private:
    std::string Name_;
    std::vector<std::string> Columns_;
    // Row after row in one block: adding a row costs one append, however
    // large the log grows.
    std::vector<TCell> Cells_;
};

// How "order by" ranks texts.
enum class TCollation {
    // As many database collations do: letter case ignored; spaces and
    // punctuation before digits, digits before letters, codes above 127 last
    // (defined in logfiles/LogCollation.h, shared with the native scorer).
    CaseInsensitive,
    // Byte by byte as unsigned codes.
    Ordinal,
    // No sorting: rows come back in the order they were added.
    AsInserted,
};

// The calls of the host's recordset that can be made to fail.
enum class TFaultPoint { Open, EndOfTableTest, MoveNext, FieldLookup, ReadValue, Close };

// What a recordset was asked for when it was opened.
struct TOpenRequest {
    std::string Statement;
    long CursorLocation = 0;
    long CursorType = 0;
    long LockType = 0;
    long Options = 0;
};

// "Select * from <table> order by <column>", keywords in any letter case.
struct TSelectStatement {
    std::string Table;
    std::string OrderColumn;
};
std::optional<TSelectStatement> ParseSelectStatement(std::string_view statement);

class TLogDatabase {
public:
    // Throws std::invalid_argument when a table of that name (letter case
    // ignored) exists already. The table stays where it is for the
    // database's life.
    TLogTable& AddTable(std::string name, std::vector<std::string> columns);
    TLogTable* FindTable(std::string_view name);
    const TLogTable* FindTable(std::string_view name) const;

    void SetCollation(TCollation collation) { Collation_ = collation; }
    TCollation Collation() const { return Collation_; }
    // The table's row numbers ordered by `column` under the collation; NULL
    // first, equal values in the order they were added.
    std::vector<std::size_t> RowOrder(const TLogTable& table, std::size_t column) const;

    // Makes the next call at `point` fail with `text` once the cursor stands
    // on `row` (0-based, in the order of the result; Open and Close ignore
    // it). One fault at a time: a new one replaces one not yet fired.
    void FailOnce(TFaultPoint point, std::string text, std::size_t row = 0);
    // The text to fail this call with, when it is the chosen one; the fault
    // is then used up.
    std::optional<std::string> TakeFault(TFaultPoint point, std::size_t row);

    void RecordOpen(TOpenRequest request) { LastOpen_ = std::move(request); }
    const std::optional<TOpenRequest>& LastOpen() const { return LastOpen_; }

private:
    struct TFault {
        TFaultPoint Point;
        std::size_t Row;
        std::string Text;
    };

    std::vector<std::unique_ptr<TLogTable>> Tables_;
    TCollation Collation_ = TCollation::CaseInsensitive;
    std::optional<TFault> Fault_;
    std::optional<TOpenRequest> LastOpen_;
};

}  // namespace hostado
