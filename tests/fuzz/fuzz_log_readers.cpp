// The log-file readers: any bytes read as ADIF, as CSV/TSV and as whatever
// the content looks like. A read gives either rows or an error with its place,
// never both; reading again gives the same; rows written back in the format's
// plainest form read back the same. Rows that were read then go through the
// database's order of calls and the rebuild, which must agree with adding the
// same contacts one by one.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "logfiles/AdifReader.h"
#include "logfiles/DelimitedReader.h"
#include "logfiles/LogCollation.h"
#include "logfiles/LogFile.h"
#include "logfiles/RowsLogQuery.h"
#include "recalc/RecalcFromLog.h"
#include "scoring/ContestScorer.h"
#include "scoring/StatisticReport.h"

namespace {

bool SameResult(const TLogReadResult& a, const TLogReadResult& b)
{
    if (a.Error.has_value() != b.Error.has_value() || a.Rows != b.Rows)
        return false;
    return !a.Error || (a.Error->What == b.Error->What && a.Error->ByteOffset == b.Error->ByteOffset &&
                        a.Error->Line == b.Error->Line && a.Error->File == b.Error->File);
}

void CheckResultShape(const TLogReadResult& result, std::string_view text, const char* reader)
{
    const std::string what = std::string(reader) + " of " + Escaped(text.substr(0, 200));
    if (!result.Error)
        return;
    const TLogReadError& error = *result.Error;
    FUZZ_CHECK(result.Rows.empty(), what + ": rows beside an error");
    FUZZ_CHECK(!error.What.empty() && error.File.empty(), what + ": error text");
    FUZZ_CHECK(error.ByteOffset <= text.size(), what + ": error offset past the end");
    FUZZ_CHECK(error.Line == LineAt(text, error.ByteOffset) && error.Line >= 1, what + ": error line");
    const std::string message = error.Message();
    FUZZ_CHECK(message.size() > error.What.size() &&
                   message.compare(message.size() - error.What.size(), error.What.size(), error.What) == 0,
               what + ": message " + Escaped(message));
}

std::string Quoted(const std::string& cell)
{
    std::string quoted = "\"";
    for (const char c : cell)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

// Delimited rows name every column; the plainest way to write them back is a
// header of the columns they hold and every cell quoted.
void CheckDelimitedRoundTrip(const std::vector<TLogRow>& rows)
{
    if (rows.empty())
        return;
    std::vector<std::size_t> columns;
    for (std::size_t column = 0; column < kLogColumnCount; ++column) {
        if (rows.front().Cells[column].has_value())
            columns.push_back(column);
    }
    std::string text;
    for (const std::size_t column : columns)
        text += (text.empty() ? "" : ",") + std::string(kLogColumnNames[column]);
    text += "\r\n";
    for (const TLogRow& row : rows) {
        std::string line;
        for (const std::size_t column : columns) {
            FUZZ_CHECK(row.Cells[column].has_value(), "a named column is NULL in a later row");
            line += (line.empty() ? "" : ",") + Quoted(*row.Cells[column]);
        }
        text += line + "\n";
    }
    const TLogReadResult again = ReadDelimited(text);
    FUZZ_CHECK(again.Ok() && again.Rows == rows,
               "rows written back as " + Escaped(text.substr(0, 300)) + " read back differently" +
                   (again.Error ? ": " + again.Error->Message() : std::string()));
}

// The ADIF columns that come from exactly one field each, written back as
// those fields, read back the same.
void CheckAdifRoundTrip(const std::vector<TLogRow>& rows)
{
    struct TField {
        TLogColumn Column;
        const char* Name;
    };
    static const TField fields[] = {{TLogColumn::CallSign, "CALL"}, {TLogColumn::DigiBand, "BAND"},
                                    {TLogColumn::QSOMode, "MODE"},  {TLogColumn::Continent, "CONT"},
                                    {TLogColumn::ITUZone, "ITUZ"}};
    std::string text = "written back <EOH>\n";
    for (const TLogRow& row : rows) {
        for (const TField& field : fields) {
            if (const TLogCell& cell = row[field.Column])
                text += "<" + std::string(field.Name) + ":" + std::to_string(cell->size()) + ">" + *cell;
        }
        text += "<EOR>\n";
    }
    const TLogReadResult again = ReadAdif(text);
    FUZZ_CHECK(again.Ok(), "rows written back as ADIF fail: " + (again.Error ? again.Error->Message() : ""));
    // A record with none of these fields adds no row when read back.
    std::size_t at = 0;
    for (const TLogRow& row : rows) {
        bool any = false;
        for (const TField& field : fields)
            any = any || row[field.Column].has_value();
        if (!any)
            continue;
        FUZZ_CHECK(at < again.Rows.size(), "ADIF rows lost when written back");
        const TLogRow& back = again.Rows[at++];
        for (const TField& field : fields) {
            // The band is in the one naming already, so it reads back as it is.
            const TLogCell& expected = row[field.Column];
            FUZZ_CHECK(back[field.Column] == expected, std::string("ADIF field ") + field.Name + " read back differently");
        }
    }
    FUZZ_CHECK(at == again.Rows.size(), "ADIF rows gained when written back");
}

std::string CellText(const TLogRow& row, TLogColumn column)
{
    // The rebuild stores each value in a 255-character slot before scoring.
    return row[column].value_or("").substr(0, 255);
}

// The rows in the database's order of calls, through the rebuild, against
// the same contacts added in that order.
void CheckRebuild(const std::vector<TLogRow>& rows)
{
    const std::vector<std::size_t> order = CallSignOrder(rows);
    std::vector<std::size_t> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    for (std::size_t at = 0; at < sorted.size(); ++at)
        FUZZ_CHECK(sorted[at] == at, "CallSignOrder is no permutation of the rows");
    for (std::size_t at = 1; at < order.size(); ++at) {
        const TLogCell& before = rows[order[at - 1]][TLogColumn::CallSign];
        const TLogCell& after = rows[order[at]][TLogColumn::CallSign];
        const int comparison = !before ? (after ? -1 : 0) : (!after ? 1 : CompareCaseInsensitive(*before, *after));
        FUZZ_CHECK(comparison < 0 || (comparison == 0 && order[at - 1] < order[at]),
                   "rows out of call order (or equal calls out of log order)");
        if (before && after)
            FUZZ_CHECK((CaseInsensitiveCollationKey(*before) <=> CaseInsensitiveCollationKey(*after)) ==
                           (comparison <=> 0),
                       "collation keys disagree with the comparison");
    }

    TContestScorer added;
    for (const std::size_t row : order) {
        const std::string call = CellText(rows[row], TLogColumn::CallSign);
        const std::string band = CellText(rows[row], TLogColumn::DigiBand);
        const std::string mode = CellText(rows[row], TLogColumn::QSOMode);
        const std::string exchange = CellText(rows[row], TLogColumn::QSOReportRecived);
        added.ScoreQSO({call, band, mode, exchange}, true);
    }

    TPluginData currentData{};
    WriteSlot(currentData.TableName, "Log");
    TRowsLogQuery query(rows, order);
    TContestScorer rebuilt;
    RecalcFromLog(currentData, rebuilt, query, {});
    FUZZ_CHECK(StatisticReportText(rebuilt.StatList()) == StatisticReportText(added.StatList()) &&
                   rebuilt.MemberKeys() == added.MemberKeys() && rebuilt.QSOList().size() == added.QSOList().size(),
               "the rebuild over the rows differs from adding them");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text = InputText(data, size);

    const TLogReadResult adif = ReadAdif(text);
    CheckResultShape(adif, text, "ADIF");
    FUZZ_CHECK(SameResult(adif, ReadAdif(text)), "a second ADIF read differs");
    FUZZ_CHECK(SameResult(adif, ReadLogText(text, TLogFormat::Adif)), "ReadLogText(ADIF) differs from ReadAdif");

    const TLogReadResult delimited = ReadDelimited(text);
    CheckResultShape(delimited, text, "delimited");
    FUZZ_CHECK(SameResult(delimited, ReadDelimited(text)), "a second delimited read differs");
    FUZZ_CHECK(SameResult(delimited, ReadLogText(text, TLogFormat::Delimited)),
               "ReadLogText(delimited) differs from ReadDelimited");

    const TLogFormat sniffed = SniffLogFormat(text);
    FUZZ_CHECK(sniffed == SniffLogFormat(text), "sniffing differs");

    if (adif.Ok()) {
        CheckAdifRoundTrip(adif.Rows);
        CheckRebuild(adif.Rows);
    }
    if (delimited.Ok()) {
        CheckDelimitedRoundTrip(delimited.Rows);
        CheckRebuild(delimited.Rows);
    }
    return 0;
}
