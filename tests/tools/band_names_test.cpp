// The one band naming: names, variants, frequencies and what names no band.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "logfiles/BandNames.h"

TEST(BandNames, VariantsNameTheSameBand)
{
    const std::pair<const char*, const char*> cases[] = {
        {"20", "20"},        {"20M", "20"},      {"20m", "20"},       {" 20 m ", "20"},   {"14MHz", "20"},
        {"14.025 MHz", "20"}, {"7050kHz", "40"}, {"160m", "160"},     {"2190m", "2190"},  {"630M", "630"},
        {"1.25m", "1.25"},   {"2m", "2"},        {"6", "6"},          {"70CM", "70cm"},   {"70 cm", "70cm"},
        {"432 MHz", "70cm"}, {"1.296GHz", "23cm"}, {"23cm", "23cm"},    {"SUBMM", "submm"}, {"6mm", "6mm"},
        {"1.25cm", "1.25cm"}, {"10368 MHz", "3cm"},
    };
    for (const auto& [text, band] : cases)
        EXPECT_EQ(KnownBandName(text), std::optional<std::string>(band)) << "band text '" << text << "'";
}

TEST(BandNames, TextsThatNameNoBandStayAsWritten)
{
    for (const char* text : {"", "14", "21m", "70", "13MHz", "20 metres", "1.2.3m", "m", "-20m", "1e3MHz"})
        EXPECT_EQ(KnownBandName(text), std::nullopt) << "band text '" << text << "'";
    EXPECT_EQ(NormaliseBandName(" 21m "), "21m");
    EXPECT_EQ(NormaliseBandName("20 M"), "20");
}

TEST(BandNames, CabrilloFrequencyFields)
{
    const std::pair<const char*, const char*> cases[] = {
        {"1800", "160"}, {"3525", "80"},  {"5357", "60"},  {"7000", "40"},   {"10120", "30"},  {"14350", "20"},
        {"18100", "17"}, {"21025", "15"}, {"24900", "12"}, {"28500", "10"},  {"50125", "6"},   {"136", "2190"},
        {"475", "630"},  {"50", "6"},     {"70", "4"},     {"144", "2"},     {"222", "1.25"},  {"432", "70cm"},
        {"902", "33cm"}, {"1.2G", "23cm"}, {"2.3G", "13cm"}, {"10G", "3cm"},  {"24G", "1.25cm"}, {"light", "submm"},
        {"14025.5", "20"},
    };
    for (const auto& [field, band] : cases)
        EXPECT_EQ(BandOfCabrilloFrequency(field), std::optional<std::string>(band)) << "frequency '" << field << "'";
    for (const char* field : {"14351", "99999", "", "20m", "FM", "0"})
        EXPECT_EQ(BandOfCabrilloFrequency(field), std::nullopt) << "frequency '" << field << "'";
}

TEST(BandNames, AdifFrequenciesInMegahertz)
{
    EXPECT_EQ(BandOfMegahertz("14.025"), "20");
    EXPECT_EQ(BandOfMegahertz("7"), "40");
    EXPECT_EQ(BandOfMegahertz("0.1375"), "2190");
    EXPECT_EQ(BandOfMegahertz("144.300"), "2");
    EXPECT_EQ(BandOfMegahertz("1296.2"), "23cm");
    EXPECT_EQ(BandOfMegahertz("14.5"), std::nullopt);
    EXPECT_EQ(BandOfMegahertz("14,025"), std::nullopt) << "no decimal comma";
}

TEST(BandNames, RankFromLongestWavelengthToShortest)
{
    const std::vector<std::string> written = {"70CM", "submm", "160", "20m", "1.25", "1.25cm", "2", "2190"};
    for (std::size_t i = 1; i < written.size(); ++i)
        EXPECT_NE(BandRank(written[i - 1]), BandRank(written[i]));
    std::vector<std::string> sorted = written;
    std::sort(sorted.begin(), sorted.end(),
              [](const std::string& a, const std::string& b) { return BandRank(a) < BandRank(b); });
    EXPECT_EQ(sorted, (std::vector<std::string>{"2190", "160", "20m", "2", "1.25", "70CM", "1.25cm", "submm"}));
    EXPECT_GT(BandRank("X"), BandRank("submm")) << "a text naming no band comes after every band";
    EXPECT_EQ(BandRank("X"), BandRank("")) << "and all such texts rank alike, keeping their order";
}
