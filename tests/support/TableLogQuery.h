// An in-memory log table behind the query interface. Rows come back in the
// order given, so a test can play a database that sorts calls its own way.
// Every call is written to a journal, so the order of the steps a rebuild
// takes can be checked.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "recalc/LogQuery.h"
#include "support/LoggedContact.h"

class TTableLogQuery : public TLogQuery {
public:
    using TRow = std::vector<std::optional<std::string>>;  // nullopt is a NULL value

    TTableLogQuery(std::vector<std::string> columns, std::vector<TRow> rows);

    // The eight columns a rebuild reads, one row per contact; the other
    // columns hold short texts of their own.
    static TTableLogQuery OfContacts(const std::vector<TLoggedContact>& contacts);

    void Close() override;
    void SetStatement(const std::string& statement) override;
    void Open() override;
    bool PastLastRow() override;
    std::string FieldAsText(const std::string& name) override;
    void Next() override;

    // Makes reading any column of row `row` (0-based) fail, as a lost
    // connection would.
    void FailAtRow(std::size_t row) { FailingRow_ = row; }

    bool IsOpen() const { return Open_; }
    const std::string& Statement() const { return Statement_; }
    // "Close", "SetStatement", "Open", "Field:<name>", "Next" in call order.
    const std::vector<std::string>& Journal() const { return Journal_; }
    std::vector<std::string>& Journal() { return Journal_; }

private:
    std::vector<std::string> Columns_;
    std::vector<TRow> Rows_;
    std::string Statement_;
    std::vector<std::string> Journal_;
    std::optional<std::size_t> FailingRow_;
    std::size_t Current_ = 0;
    bool Open_ = false;
};

// The columns a rebuild reads, in the order it reads them.
inline const std::vector<std::string>& RebuildColumns()
{
    static const std::vector<std::string> columns = {"QSOReportRecived", "DXCCPrefix", "MainPrefix", "CallSign",
                                                     "DigiBand",         "QSOMode",    "Continent",  "ITUZone"};
    return columns;
}
