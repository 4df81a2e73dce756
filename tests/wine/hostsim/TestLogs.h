// Log files for the tests: contacts written as ADIF or as a tab-separated
// table with the log's own column names.
#pragma once

#include <string>
#include <vector>

#include "support/LoggedContact.h"

namespace hostsim {

// CALL, BAND (the band text as given, so "20" or "20m"), MODE and SRX_STRING
// per record, with a short header.
std::string AdifText(const std::vector<TLoggedContact>& contacts);
// A header row CallSign, DigiBand, QSOMode, QSOReportRecived, then one row
// per contact; the texts must hold no tab or line break.
std::string TsvText(const std::vector<TLoggedContact>& contacts);

}  // namespace hostsim
