#include "logfiles/RowsLogQuery.h"

#include <optional>
#include <utility>

TRowsLogQuery::TRowsLogQuery(const std::vector<TLogRow>& rows, std::vector<std::size_t> order)
    : Rows_(rows), Order_(std::move(order))
{
}

void TRowsLogQuery::Close() { Open_ = false; }

void TRowsLogQuery::SetStatement(const std::string& statement) { Statement_ = statement; }

void TRowsLogQuery::Open()
{
    Open_ = true;
    Position_ = 0;
}

bool TRowsLogQuery::PastLastRow() { return !Open_ || Position_ >= Order_.size(); }

std::string TRowsLogQuery::FieldAsText(const std::string& name)
{
    if (PastLastRow())
        throw TLogQueryError("LogQuery: no current row to read '" + name + "' from");
    const std::optional<TLogColumn> column = FindLogColumn(name);
    if (!column)
        throw TLogQueryError(FieldNotFoundMessage(name));
    return Rows_[CurrentRow()][*column].value_or("");
}

void TRowsLogQuery::Next()
{
    if (!PastLastRow())
        ++Position_;
}
