// One contact as the host's log table holds it: the eight columns the
// rebuild reads, each NULL or single-byte text. The readers of log files
// produce these rows; the native scorer and the host simulator serve them.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

enum class TLogColumn : std::size_t {
    CallSign,
    DigiBand,
    QSOMode,
    QSOReportRecived,
    Continent,
    ITUZone,
    MainPrefix,
    DXCCPrefix,
};

inline constexpr std::size_t kLogColumnCount = 8;

// The column names as the log table spells them, in TLogColumn order.
inline constexpr std::array<std::string_view, kLogColumnCount> kLogColumnNames = {
    "CallSign", "DigiBand", "QSOMode", "QSOReportRecived", "Continent", "ITUZone", "MainPrefix", "DXCCPrefix"};

// The column of that name, letter case ignored (a-z against A-Z only).
std::optional<TLogColumn> FindLogColumn(std::string_view name);

// nullopt is NULL: a value the log never had, which the database query
// reads as the empty text.
using TLogCell = std::optional<std::string>;

struct TLogRow {
    std::array<TLogCell, kLogColumnCount> Cells;

    TLogCell& operator[](TLogColumn column) { return Cells[static_cast<std::size_t>(column)]; }
    const TLogCell& operator[](TLogColumn column) const { return Cells[static_cast<std::size_t>(column)]; }

    bool operator==(const TLogRow&) const = default;
};
