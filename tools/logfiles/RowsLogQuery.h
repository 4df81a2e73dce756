// The log query over rows held in memory: what the rebuild reads through
// when no database stands behind the log. It serves the eight log columns;
// a NULL cell reads as the empty text, as a database query reads it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "logfiles/LogRow.h"
#include "recalc/LogQuery.h"

class TRowsLogQuery : public TLogQuery {
public:
    // Serves rows[order[0]], rows[order[1]], ... whatever the statement says:
    // the caller has already put the rows in the order the statement asks
    // for. `rows` must outlive the query; every number in `order` must be a
    // row of it.
    TRowsLogQuery(const std::vector<TLogRow>& rows, std::vector<std::size_t> order);

    void Close() override;
    void SetStatement(const std::string& statement) override;
    void Open() override;
    bool PastLastRow() override;
    // Throws TLogQueryError for a name that is none of the eight columns, and
    // when the query is closed or past its last row.
    std::string FieldAsText(const std::string& name) override;
    void Next() override;

    // The current row's number in `rows`; valid while the query is open and
    // not past its last row.
    std::size_t CurrentRow() const { return Order_[Position_]; }
    const std::string& Statement() const { return Statement_; }

private:
    const std::vector<TLogRow>& Rows_;
    std::vector<std::size_t> Order_;
    std::string Statement_;
    std::size_t Position_ = 0;
    bool Open_ = false;
};
