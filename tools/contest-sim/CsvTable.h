// Reading the CSV files the checker and the simulator write: a header row,
// then rows of fields, quoted the usual way when they hold commas, quotes or
// line breaks.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct TCsvTable {
    std::vector<std::string> Header;
    std::vector<std::vector<std::string>> Rows;
    // The line each row starts on, 1 for the header.
    std::vector<std::size_t> RowLines;

    // The column of that name, or nullopt.
    std::optional<std::size_t> Column(std::string_view name) const;
};

// Parses the whole text; false with `error` ("line L: what") when a quote is
// left open or a row has a different number of fields than the header.
bool ParseCsv(std::string_view text, TCsvTable& table, std::string& error);

// Reads and parses a file; errors name the file.
bool ReadCsvFile(const std::string& path, TCsvTable& table, std::string& error);
