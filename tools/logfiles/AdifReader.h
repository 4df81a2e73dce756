// Reads ADIF logs (.adi): "<NAME:length>value" fields, "<EOR>" after each
// record, an optional header closed by "<EOH>".
//
// Rules beyond the format's own wording, chosen so that a damaged file is
// refused rather than guessed at:
// - Field names and EOR/EOH are matched ignoring letter case; a third part of
//   the tag ("<QSO_DATE:8:D>") is a data type and is ignored.
// - The length counts bytes. The value is taken byte for byte, so a value may
//   hold "<" or ">" and multi-byte characters stay as their bytes.
// - Text outside tags (line breaks, comments) is ignored. "<EOH>" drops the
//   fields gathered since the start or the last "<EOR>": they were the header's.
//   Header text must not contain "<" before "<EOH>".
// - A field that appears twice in a record keeps its first value. Unknown
//   fields are skipped. "<EOR>" with no field before it adds no row.
// - A record without a CALL (or with an empty one) is skipped, with a
//   warning and its line.
// - The header's fields become the log header's tags.
// - Errors: a tag without ">" (or with "<" inside it), a tag without a name,
//   a field without a length or with a length that is not a decimal number,
//   a length running past the end of the file, and fields after the last
//   "<EOR>". Each is reported at the "<" of the tag at fault (for the last
//   one, at the first field of the unfinished record).
#pragma once

#include <string>
#include <string_view>

#include "logfiles/LogReadResult.h"

// The metre unit dropped when a number precedes it ("20m" and "20M" become
// "20", "1.25m" becomes "1.25"); anything else as written ("70cm", "").
// The readers name bands by NormaliseBandName (BandNames.h) instead, which
// agrees with this on the metre bands.
std::string DigiBandOfAdifBand(std::string_view band);

// One row per record:
//   CallSign          CALL
//   DigiBand          BAND in the one band naming (BandNames.h); without
//                     BAND (or with an empty one), the band of FREQ (MHz).
//                     Where both name a band and differ, BAND wins and a
//                     warning says so.
//   QSOMode           MODE
//   QSOReportRecived  SRX_STRING, or SRX when SRX_STRING is absent or empty
//   Continent         CONT
//   ITUZone           ITUZ
//   MainPrefix        PFX
//   DXCCPrefix        DXCC (the entity number), or PFX when DXCC is absent or empty
// A column whose fields are all absent is NULL.
// Each row's contact: FREQ, the band, MODE, QSO_DATE as YYYY-MM-DD, TIME_ON
// as HHMM, STATION_CALLSIGN (else OPERATOR) as my call, STX_STRING (else
// STX) split at blanks as the sent exchange, CALL, SRX_STRING (else SRX) as
// the received exchange. The header's station call is the first record's
// my call, its contest the first CONTEST_ID.
TLogReadResult ReadAdif(std::string_view text);
