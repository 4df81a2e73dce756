// The scorer's plain records: one counted contact and one band's tally.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

class TQSO {
public:
    TQSO(std::string call, std::string band, std::string mode)
        : Call(std::move(call)), Band(std::move(band)), Mode(std::move(mode)) {}

    std::string Call;
    std::string Band;
    std::string Mode;
};

class TStatistic {
public:
    TStatistic(std::string band, std::int32_t qsos, std::int32_t points, std::int32_t members)
        : Band(std::move(band)), QSOs(qsos), Points(points), Members(members) {}

    std::string Band;
    std::int32_t QSOs;
    std::int32_t Points;
    std::int32_t Members;
};

// 1 when a.Call sorts after b.Call, 0 when equal, -1 before (ordinal order).
std::int32_t CompareByCall(const TQSO& a, const TQSO& b);
