// Comparing the report that live logging left in the window with the one a
// rebuild from the log table writes. The two may rightly list the bands in
// another order: live logging adds a band when its first contact is logged,
// while a rebuild meets the bands in the order of the calls. Everything else
// (each band's tallies, the totals, the score) must be the same.
#pragma once

#include <string>
#include <string_view>
#include <vector>

enum class TReportAgreement {
    // Byte for byte the same text.
    Identical,
    // The same lines, only the bands in another order.
    SameTalliesOtherBandOrder,
    Different,
};

struct TReportComparison {
    TReportAgreement Agreement = TReportAgreement::Different;
    // For Different: one line per difference ("band 20: live '...' rebuilt '...'").
    std::vector<std::string> Differences;
};

// The report's lines, split at CR LF.
std::vector<std::string> ReportLines(std::string_view report);

TReportComparison CompareReports(std::string_view live, std::string_view rebuilt);

// The band column of a band line (its first field, without the padding).
std::string BandOfLine(std::string_view line);
