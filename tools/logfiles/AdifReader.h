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
// - Errors: a tag without ">" (or with "<" inside it), a tag without a name,
//   a field without a length or with a length that is not a decimal number,
//   a length running past the end of the file, and fields after the last
//   "<EOR>". Each is reported at the "<" of the tag at fault (for the last
//   one, at the first field of the unfinished record).
#pragma once

#include <string>
#include <string_view>

#include "logfiles/LogReadResult.h"

// The host's band text for an ADIF band: the metre unit is dropped when a
// number precedes it ("20m" and "20M" become "20", "1.25m" becomes "1.25");
// anything else comes back as written ("70cm", "submm", "").
std::string DigiBandOfAdifBand(std::string_view band);

// One row per record:
//   CallSign          CALL
//   DigiBand          BAND, through DigiBandOfAdifBand
//   QSOMode           MODE
//   QSOReportRecived  SRX_STRING, or SRX when SRX_STRING is absent or empty
//   Continent         CONT
//   ITUZone           ITUZ
//   MainPrefix        PFX
//   DXCCPrefix        DXCC (the entity number), or PFX when DXCC is absent or empty
// A column whose fields are all absent is NULL.
TLogReadResult ReadAdif(std::string_view text);
