// Reads Cabrillo logs (versions 2.0 and 3.0): one "TAG: value" per line.
//
// - The header tags (START-OF-LOG, CALLSIGN, CONTEST, CATEGORY-*,
//   CLAIMED-SCORE, OPERATORS, X-..., any other) are kept in order in the
//   log's header; tag names are matched ignoring letter case.
// - A QSO line is
//     QSO: freq mode date time mycall <sent exchange> call <received exchange> [transmitter id]
//   with as many received as sent exchange fields: after mycall an odd
//   number of fields has no transmitter id, an even number ends in one.
//   "X-QSO:" lines have the same form; they are read and reported as
//   contacts, never given a row of the log table, so never scored.
// - Log table: CallSign the call, DigiBand the band of the frequency field
//   (kHz or a band designator, see BandNames.h), QSOMode the mode as
//   written, QSOReportRecived the received fields joined by single spaces;
//   the other columns are NULL.
// - Reading stops at "END-OF-LOG:". Lines end at LF, CR LF or CR.
// - Nothing in a Cabrillo log stops the reading: a QSO line too short to
//   hold a call, a line that is no tag line, text after END-OF-LOG, a
//   missing END-OF-LOG and a CLAIMED-SCORE that is no whole number are
//   warnings, with their lines.
#pragma once

#include <string_view>

#include "logfiles/LogReadResult.h"

TLogReadResult ReadCabrillo(std::string_view text);
