// The log-file readers: any bytes read as ADIF, as Cabrillo, as CSV/TSV and
// as whatever the content looks like. A read gives either rows or an error
// with its place, never both; reading again gives the same; rows written
// back in the format's plainest form read back the same; the contacts match
// the rows one to one; warnings stay few however many faults the text has. Rows that were read then go through the
// database's order of calls and the rebuild, which must agree with adding the
// same contacts one by one.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "logfiles/AdifReader.h"
#include "logfiles/CabrilloReader.h"
#include "logfiles/DelimitedReader.h"
#include "logfiles/LogCollation.h"
#include "logfiles/LogFile.h"
#include "logfiles/RowsLogQuery.h"
#include "recalc/RecalcFromLog.h"
#include "scoring/ContestScorer.h"
#include "scoring/StatisticReport.h"

namespace {

bool SameContact(const TLogContact& a, const TLogContact& b)
{
    return a.Line == b.Line && a.Frequency == b.Frequency && a.Band == b.Band && a.Mode == b.Mode &&
           a.Date == b.Date && a.Time == b.Time && a.MyCall == b.MyCall && a.SentExchange == b.SentExchange &&
           a.Call == b.Call && a.ReceivedExchange == b.ReceivedExchange && a.TransmitterId == b.TransmitterId &&
           a.IsXQso == b.IsXQso;
}

bool SameContacts(const std::vector<TLogContact>& a, const std::vector<TLogContact>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), SameContact);
}

// Contacts that are not X-QSOs stand one to one, in order, for the rows, and
// every one of them has a call; the warnings are bounded by the kinds there
// are, not by the size of the text.
void CheckContacts(const TLogReadResult& result, const char* reader)
{
    const std::string what = reader;
    FUZZ_CHECK(result.Warnings.size() <= 200, what + ": " + std::to_string(result.Warnings.size()) + " warnings");
    if (!result.Ok()) {
        FUZZ_CHECK(result.Contacts.empty(), what + ": contacts beside an error");
        return;
    }
    std::size_t row = 0;
    for (const TLogContact& contact : result.Contacts) {
        FUZZ_CHECK(!contact.Call.empty(), what + ": a contact without a call");
        if (contact.IsXQso)
            continue;
        FUZZ_CHECK(row < result.Rows.size(), what + ": more contacts than rows");
        FUZZ_CHECK(result.Rows[row][TLogColumn::CallSign].has_value(), what + ": a row without a call");
        FUZZ_CHECK(result.Rows[row][TLogColumn::DigiBand].value_or("") == contact.Band,
                   what + ": a row's band differs from its contact's");
        ++row;
    }
    FUZZ_CHECK(row == result.Rows.size(), what + ": more rows than contacts");
}

void AppendWords(std::string& line, const std::vector<std::string>& words)
{
    for (const std::string& word : words)
        line += " " + word;
}

// Cabrillo contacts written back as QSO and X-QSO lines, one per line,
// read back the same (their line numbers renumbered).
void CheckCabrilloRoundTrip(const TLogReadResult& log)
{
    std::string text = "START-OF-LOG: 3.0\n";
    std::vector<TLogContact> expected;
    for (const TLogContact& contact : log.Contacts) {
        std::string line = contact.IsXQso ? "X-QSO:" : "QSO:";
        AppendWords(line, {contact.Frequency, contact.Mode, contact.Date, contact.Time, contact.MyCall});
        AppendWords(line, contact.SentExchange);
        AppendWords(line, {contact.Call});
        AppendWords(line, contact.ReceivedExchange);
        if (!contact.TransmitterId.empty())
            AppendWords(line, {contact.TransmitterId});
        text += line + "\n";
        expected.push_back(contact);
        expected.back().Line = expected.size() + 1;
    }
    text += "END-OF-LOG:\n";
    const TLogReadResult again = ReadCabrillo(text);
    FUZZ_CHECK(again.Ok() && again.Rows == log.Rows && SameContacts(again.Contacts, expected),
               "Cabrillo contacts written back as " + Escaped(text.substr(0, 300)) + " read back differently");
}

// Whatever the content is, reading it in any format gives the reader's own
// answer, or one of the errors about the text as a whole.
void CheckAnyFormat(std::string_view text)
{
    const TLogReadResult any = ReadLogTextOfAnyFormat(text);
    const std::optional<TLogFormat> detected = DetectLogFormat(text);
    FUZZ_CHECK(detected == DetectLogFormat(text), "detecting the format differs");
    if (detected) {
        const TLogReadResult direct = ReadLogText(text, *detected);
        FUZZ_CHECK(any.Error.has_value() == direct.Error.has_value() && any.Rows == direct.Rows &&
                       SameContacts(any.Contacts, direct.Contacts),
                   "reading in any format differs from the detected format's reader");
        FUZZ_CHECK(!direct.Ok() || direct.Format == *detected, "a reader names another format");
    } else {
        FUZZ_CHECK(!any.Ok() && any.Error->Line == 0 && any.Rows.empty(),
                   "a text of no format read without a whole-text error");
    }
}

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

    const TLogReadResult cabrillo = ReadCabrillo(text);
    FUZZ_CHECK(cabrillo.Ok(), "the Cabrillo reader refused a text: it warns instead");
    FUZZ_CHECK(SameResult(cabrillo, ReadCabrillo(text)) && SameContacts(cabrillo.Contacts, ReadCabrillo(text).Contacts),
               "a second Cabrillo read differs");
    CheckContacts(adif, "ADIF");
    CheckContacts(delimited, "delimited");
    CheckContacts(cabrillo, "Cabrillo");
    CheckCabrilloRoundTrip(cabrillo);
    CheckRebuild(cabrillo.Rows);

    const TLogFormat sniffed = SniffLogFormat(text);
    FUZZ_CHECK(sniffed == SniffLogFormat(text), "sniffing differs");
    CheckAnyFormat(text);

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
