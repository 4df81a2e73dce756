#include "support/TableLogQuery.h"

#include <utility>

namespace {

bool SameNameIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t at = 0; at < a.size(); ++at) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        if (lower(a[at]) != lower(b[at]))
            return false;
    }
    return true;
}

}  // namespace

TTableLogQuery::TTableLogQuery(std::vector<std::string> columns, std::vector<TRow> rows)
    : Columns_(std::move(columns)), Rows_(std::move(rows))
{
}

TTableLogQuery TTableLogQuery::OfContacts(const std::vector<TLoggedContact>& contacts)
{
    std::vector<TRow> rows;
    rows.reserve(contacts.size());
    for (const TLoggedContact& contact : contacts)
        rows.push_back({contact.QSOReportRecived, "DX", "MP", contact.CallSign, contact.DigiBand, contact.QSOMode, "eu",
                        "28"});
    return TTableLogQuery(RebuildColumns(), std::move(rows));
}

void TTableLogQuery::Close()
{
    Journal_.push_back("Close");
    Open_ = false;
}

void TTableLogQuery::SetStatement(const std::string& statement)
{
    Journal_.push_back("SetStatement");
    Statement_ = statement;
}

void TTableLogQuery::Open()
{
    Journal_.push_back("Open");
    Open_ = true;
    Current_ = 0;
}

bool TTableLogQuery::PastLastRow() { return Current_ >= Rows_.size(); }

std::string TTableLogQuery::FieldAsText(const std::string& name)
{
    Journal_.push_back("Field:" + name);
    if (FailingRow_ == Current_)
        throw TLogQueryError("Connection lost");
    for (std::size_t column = 0; column < Columns_.size(); ++column) {
        if (SameNameIgnoringCase(Columns_[column], name))
            return Rows_[Current_][column].value_or("");
    }
    throw TLogQueryError(FieldNotFoundMessage(name));
}

void TTableLogQuery::Next()
{
    Journal_.push_back("Next");
    ++Current_;
}
