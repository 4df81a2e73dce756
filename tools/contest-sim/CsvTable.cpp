#include "contest-sim/CsvTable.h"

#include <fstream>
#include <iterator>

std::optional<std::size_t> TCsvTable::Column(std::string_view name) const
{
    for (std::size_t i = 0; i < Header.size(); ++i)
        if (Header[i] == name)
            return i;
    return std::nullopt;
}

bool ParseCsv(std::string_view text, TCsvTable& table, std::string& error)
{
    table = TCsvTable();
    std::vector<std::string> row;
    std::string field;
    std::size_t line = 1;
    std::size_t rowLine = 1;
    bool quoted = false;
    bool fieldStarted = false;

    const auto endRow = [&]() -> bool {
        row.push_back(std::move(field));
        field.clear();
        fieldStarted = false;
        if (table.Header.empty() && table.Rows.empty() && !row.empty() && rowLine == 1) {
            table.Header = std::move(row);
        } else if (row.size() != table.Header.size()) {
            error = "line " + std::to_string(rowLine) + ": " + std::to_string(row.size()) + " fields where the header has " +
                    std::to_string(table.Header.size());
            return false;
        } else {
            table.Rows.push_back(std::move(row));
            table.RowLines.push_back(rowLine);
        }
        row.clear();
        return true;
    };

    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == '\n')
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == '"' && field.empty()) {
            quoted = true;
            fieldStarted = true;
        } else if (c == ',') {
            row.push_back(std::move(field));
            field.clear();
            fieldStarted = true;
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            if (!endRow())
                return false;
            ++line;
            rowLine = line;
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (quoted) {
        error = "line " + std::to_string(rowLine) + ": a quoted field is never closed";
        return false;
    }
    if (fieldStarted || !row.empty() || !field.empty())
        return endRow();
    if (table.Header.empty()) {
        error = "line 1: no header row";
        return false;
    }
    return true;
}

bool ReadCsvFile(const std::string& path, TCsvTable& table, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = path + ": cannot be opened";
        return false;
    }
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (!ParseCsv(text, table, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}
