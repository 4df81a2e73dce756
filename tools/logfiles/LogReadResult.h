// What reading a log file gives: every row, or an error that says where the
// text went wrong. Never both: a log that fails anywhere yields no rows, so
// nobody scores half a log by accident.
//
// Beside the rows of the log table, a reader keeps what a log says that the
// table has no column for (the header, the sent exchange, date and time, the
// line of each contact), because checking a contest needs it, and the
// warnings: everything it read but did not take as written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "logfiles/LogRow.h"

struct TLogReadError {
    std::string What;
    // Counted from the start of the file, 0 for its first byte.
    std::size_t ByteOffset = 0;
    // 1 for the first line; 0 when the error has no place in the text (the
    // file could not be opened at all).
    std::size_t Line = 0;
    // The file's path when the text came from a file; empty otherwise.
    std::string File;

    // "FILE: line L (byte offset B): WHAT", leaving out what is unknown.
    std::string Message() const;
};

// Something the reader read but did not take as written, or a sign that the
// log will not score as its author meant. Never fatal.
struct TLogWarning {
    std::string What;
    // 1 for the first line; 0 for the log as a whole.
    std::size_t Line = 0;
    // The file's path when the text came from a file; empty otherwise.
    std::string File;

    // "FILE: line L: warning: WHAT", leaving out what is unknown.
    std::string Message() const;
};

enum class TLogFormat { Adif, Cabrillo, Delimited };

// What a log states about itself. Cabrillo fills it from its header tags;
// ADIF from its header and the station fields of its records
// (STATION_CALLSIGN, else OPERATOR); CSV leaves it empty.
struct TLogHeader {
    // Every header tag in the order of the file, name in capitals as written
    // ("CATEGORY-OPERATOR", "X-CLUB"), value with surrounding blanks removed.
    // A tag given on several lines (ADDRESS, SOAPBOX) appears several times.
    std::vector<std::pair<std::string, std::string>> Tags;
    // The station that sent the log: Cabrillo CALLSIGN, ADIF station call or
    // operator; empty when the log does not say.
    std::string StationCall;
    std::string Contest;
    // CLAIMED-SCORE when it is a whole number.
    std::optional<std::int64_t> ClaimedScore;
    // "START-OF-LOG: 3.0" gives "3.0"; empty for other formats.
    std::string CabrilloVersion;

    // The value of the first tag of that name (letter case ignored), or empty.
    std::string Tag(std::string_view name) const;
};

// One contact with everything the log gives about it, whether or not the log
// table has a column for it. Texts are as written, blanks around them
// removed, except Band, which is in the one band naming (see BandNames.h).
struct TLogContact {
    // Cabrillo: the line of the QSO: or X-QSO: line. ADIF and CSV: the
    // record's number, 1 for the first.
    std::size_t Line = 0;
    // Cabrillo frequency field (kHz, or a band designator such as "50",
    // "1.2G"); ADIF FREQ (MHz). Empty when not given.
    std::string Frequency;
    std::string Band;
    std::string Mode;
    // "YYYY-MM-DD" and "HHMM" when the log gives them (ADIF QSO_DATE and
    // TIME_ON are rewritten to these forms), else empty.
    std::string Date;
    std::string Time;
    std::string MyCall;
    std::vector<std::string> SentExchange;
    std::string Call;
    std::vector<std::string> ReceivedExchange;
    // Cabrillo transmitter id (the field after the received exchange); empty
    // when absent.
    std::string TransmitterId;
    // A Cabrillo "X-QSO:" line: read and reported, never scored. X-QSO
    // contacts have no row in the log table.
    bool IsXQso = false;
};

struct TLogReadResult {
    // The log table's rows, for scoring: one per contact that is not an
    // X-QSO, in the log's order.
    std::vector<TLogRow> Rows;
    // Every contact, X-QSO lines included, in the log's order. The contacts
    // that are not X-QSOs correspond one to one, in order, to Rows.
    std::vector<TLogContact> Contacts;
    TLogHeader Header;
    TLogFormat Format = TLogFormat::Adif;
    std::vector<TLogWarning> Warnings;
    std::optional<TLogReadError> Error;

    bool Ok() const { return !Error.has_value(); }
};

// The 1-based line that holds byte `offset` of `text` (LF ends a line).
std::size_t LineAt(std::string_view text, std::size_t offset);

// A failed read, with the line worked out from the offset.
TLogReadResult ReadFailure(std::string what, std::string_view text, std::size_t offset);
