// The one band naming every reader and tool uses.
//
// A band is named by its wavelength: metre bands by the number of metres
// without the unit ("2190", "630", "560", "160", "80", "60", "40", "30", "20",
// "17", "15", "12", "10", "8", "6", "5", "4", "2", "1.25"), which is how the
// host logger's log table names HF bands; the bands shorter than a metre keep
// their unit, lower case ("70cm", "33cm", "23cm", "13cm", "9cm", "6cm", "3cm",
// "1.25cm", "6mm", "4mm", "2.5mm", "2mm", "1mm", "submm").
//
// Variants name the same band: the unit in any case, with or without a blank
// ("20M", "20m", "20 m", "70CM"), or a frequency with its unit inside the band
// ("14MHz", "14.025 MHz", "432 MHz", "1.2GHz", "7050kHz").
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The band `text` names, in the one naming; nullopt when it names none (the
// empty text included).
std::optional<std::string> KnownBandName(std::string_view text);

// Where the band `text` names lies among the bands from the longest
// wavelength to the shortest (2190 first, submm last); after every band for
// a text that names none.
std::size_t BandRank(std::string_view text);

// The band `text` names, or `text` as written (blanks around it removed) when
// it names none.
std::string NormaliseBandName(std::string_view text);

// The band of a Cabrillo frequency field: kilohertz ("14025", "50125.5"), or
// a band designator of VHF and up ("50", "70", "144", "222", "432", "902",
// "1.2G", "2.3G", "3.4G", "5.7G", "10G", "24G", "47G", "75G", "122G", "134G",
// "241G", "LIGHT"). nullopt when the field names no amateur band.
std::optional<std::string> BandOfCabrilloFrequency(std::string_view field);

// The band of an ADIF FREQ value in megahertz ("14.025"); nullopt when it is
// no number or lies in no amateur band.
std::optional<std::string> BandOfMegahertz(std::string_view megahertz);

// The same, for a frequency already converted to kilohertz.
std::optional<std::string> BandOfKilohertz(double kilohertz);
