#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "window/PlacementNumbers.h"

namespace {

// Every case reads with 777 as the default, so a default shows as 777.
void ExpectNumbers(const std::vector<std::pair<const char*, int>>& cases)
{
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ReadPlacementNumber(text, 777), expected) << "text <" << text << ">";
}

TEST(PlacementNumbers, DecimalWithinThirtyTwoBits)
{
    ExpectNumbers({{"42", 42}, {"   -17", -17}, {"+8", 8}, {"-0", 0}, {"000000000000000000012", 12},
                   {"2147483647", INT_MAX}, {"-2147483648", INT_MIN}, {"2147483648", 777},
                   {"-2147483649", 777}, {"99999999999999999999", 777}});
}

// A hex text names the 32 bits of the number: up to eight significant digits,
// those with the top bit set reading as negative.
TEST(PlacementNumbers, HexIsAThirtyTwoBitPattern)
{
    ExpectNumbers({{"$1F", 31}, {"x10", 16}, {"X10", 16}, {"0x10", 16}, {"  0Xff", 255},
                   {"$0000000000FF", 255}, {"$7FFFFFFF", INT_MAX}, {"$FFFFFFFF", -1},
                   {"0xFFFFFFFC", -4}, {"$80000000", INT_MIN}, {"$100000000", 777}});
}

TEST(PlacementNumbers, AnythingElseGivesDefault)
{
    ExpectNumbers({{"", 777}, {"   ", 777}, {"-", 777}, {"$", 777}, {"0x", 777}, {"x", 777},
                   {"12 ", 777}, {"1,2", 777}, {"1.5", 777}, {"1e3", 777}, {"-$10", 777},
                   {"+0x10", 777}, {"--1", 777}, {"$G1", 777}, {"\t5", 777}, {"abc", 777}});
}

TEST(PlacementNumbers, WordsAndFormats)
{
    using TWords = std::vector<std::string>;
    EXPECT_EQ(SplitPlacementWords("10,20"), (TWords{"10", "20"}));
    EXPECT_EQ(SplitPlacementWords(" ,1 , 2,,3  4, "), (TWords{"1", "2", "3", "4"}));
    EXPECT_TRUE(SplitPlacementWords(", ,").empty());
    const TWords words{"5", "bad"};
    EXPECT_EQ(PlacementWordOrDefault(words, 0, 9), 5);
    EXPECT_EQ(PlacementWordOrDefault(words, 1, 9), 9) << "a word that is no number";
    EXPECT_EQ(PlacementWordOrDefault(words, 2, 9), 9) << "a missing word";

    EXPECT_EQ(FormatPlacementNumbers(-4, 0, INT_MIN, INT_MAX), "-4,0,-2147483648,2147483647");
    EXPECT_EQ(ScreenSuffix(1280, 1024), "(1280x1024)");
}

TEST(PlacementNumbers, ApplicationKeyFromExecutable)
{
    EXPECT_EQ(ApplicationKeyFromExecutable("C:\\x\\My.Logger.exe"), "Software\\My.Logger");
    EXPECT_EQ(ApplicationKeyFromExecutable("/home/op/Logger.EXE"), "Software\\Logger");
    EXPECT_EQ(ApplicationKeyFromExecutable("C:/a.b\\c/Logger"), "Software\\Logger");
    EXPECT_EQ(ApplicationKeyFromExecutable("C:Logger.exe"), "Software\\Logger");
}

}  // namespace
