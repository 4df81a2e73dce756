// Reads the contacts of a Cabrillo 3.0 log, so recorded contests can be
// replayed through the scorer.
#pragma once

#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "support/LoggedContact.h"

// The band a Cabrillo frequency field names, as the host writes it: "160",
// "80", ..., "10" for HF frequencies in kHz, "6" and "2" for the VHF band
// designators 50 and 144. Anything else comes back unchanged.
std::string BandOfFrequency(std::string_view frequency);

// One contact per "QSO:" line; every other line is skipped. The line is
//   QSO: freq mode date time mycall <sent exchange> call <received exchange> [transmitter]
// with as many received as sent exchange fields, so the other station's call
// is the middle field of what follows mycall. The received fields are joined
// by single spaces into QSOReportRecived.
std::vector<TLoggedContact> ReadCabrillo(std::istream& log);

// Empty when the file cannot be opened.
std::vector<TLoggedContact> ReadCabrilloFile(const std::string& path);
