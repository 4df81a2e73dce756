// Shared by the tools' tests: rows written as short texts, so an expectation
// reads like the log it stands for and a failure prints readably.
#pragma once

#include <string>
#include <vector>

#include "logfiles/LogRow.h"

// The row's eight cells in column order, "|" between them, NULL as "~".
inline std::string RowText(const TLogRow& row)
{
    std::string text;
    for (std::size_t column = 0; column < kLogColumnCount; ++column) {
        if (column > 0)
            text += "|";
        text += row.Cells[column] ? *row.Cells[column] : "~";
    }
    return text;
}

inline std::vector<std::string> RowTexts(const std::vector<TLogRow>& rows)
{
    std::vector<std::string> texts;
    for (const TLogRow& row : rows)
        texts.push_back(RowText(row));
    return texts;
}
