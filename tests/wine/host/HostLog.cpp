#include "HostLog.h"

#include <algorithm>

namespace host {

std::vector<std::string> ColumnsWithout(std::initializer_list<const char*> missing)
{
    std::vector<std::string> columns = hostkit::StandardColumns();
    for (const char* name : missing)
        columns.erase(std::remove(columns.begin(), columns.end(), name), columns.end());
    return columns;
}

namespace {
bool SameName(const std::string& a, const char* b)
{
    return lstrcmpiA(a.c_str(), b) == 0;
}
}  // namespace

void AddRow(hostado::TLogTable& table, const TLogRow& row)
{
    std::vector<hostado::TCell> cells;
    for (const std::string& column : table.Columns()) {
        if (SameName(column, "CallSign"))
            cells.emplace_back(row.Call);
        else if (SameName(column, "DigiBand"))
            cells.emplace_back(row.Band);
        else if (SameName(column, "QSOMode"))
            cells.emplace_back(row.Mode);
        else if (SameName(column, "QSOReportRecived"))
            cells.push_back(row.Exchange);
        else if (SameName(column, "DXCCPrefix") || SameName(column, "MainPrefix"))
            cells.emplace_back(row.Call.substr(0, 2));
        else if (SameName(column, "Continent"))
            cells.emplace_back(std::string("eu"));
        else if (SameName(column, "ITUZone"))
            cells.emplace_back(std::int32_t{28});
        else if (SameName(column, "Id"))
            cells.emplace_back(static_cast<std::int32_t>(table.RowCount() + 1));
        else
            cells.emplace_back(hostado::Null);
    }
    table.AddRow(std::move(cells));
}

void AddRows(hostado::TLogTable& table, std::initializer_list<TLogRow> rows)
{
    for (const TLogRow& row : rows)
        AddRow(table, row);
}

}  // namespace host
