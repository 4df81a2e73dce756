// The host database's order of calls, and the in-memory query that serves
// rows in it.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "logfiles/LogCollation.h"
#include "logfiles/RowsLogQuery.h"

namespace {

TLogRow RowWithCall(std::optional<std::string> call)
{
    TLogRow row;
    row[TLogColumn::CallSign] = std::move(call);
    return row;
}

}  // namespace

TEST(Collation, RanksByKindAndIgnoresCase)
{
    // Each pair: the first sorts strictly before the second.
    const std::pair<std::string, std::string> before[] = {
        {"DL1_Q", "DL1A"},     // punctuation before letters, though '_' > 'A' as a byte
        {"DL1/P", "DL10"},     // punctuation before digits
        {"DL19", "DL1A"},      // digits before letters
        {"dl1xyz", "DL2ABC"},  // case ignored: 1 before 2 decides
        {"DL1A", "dl1b"},
        {"ZZ9Z", "\xC4" "A"},  // codes above 127 after every letter
        {"\xC4", "\xE4"},      // ... in code order among themselves
        {"DL1", "DL1A"},       // a leading part first
        {"", "0"},
        {" ", "!"},            // punctuation keeps its code order
    };
    for (const auto& [first, second] : before) {
        EXPECT_LT(CompareCaseInsensitive(first, second), 0) << "'" << first << "' before '" << second << "'";
        EXPECT_GT(CompareCaseInsensitive(second, first), 0) << "'" << second << "' after '" << first << "'";
    }
    EXPECT_EQ(CompareCaseInsensitive("dl1abc/p", "DL1ABC/P"), 0) << "texts differing only in case are equal";
    EXPECT_NE(CompareCaseInsensitive("\xE4", "\xC4"), 0) << "only a-z fold";
}

TEST(Collation, CallSignOrderIsStableWithNullFirst)
{
    const std::vector<TLogRow> rows = {RowWithCall("k1a"),   RowWithCall("DL2ABC"), RowWithCall("dl1xyz"),
                                       RowWithCall("DL1_Q"), RowWithCall("DL1A"),   RowWithCall(std::nullopt),
                                       RowWithCall("DL1XYZ"), RowWithCall(""),      RowWithCall("dl1xyz")};
    EXPECT_EQ(CallSignOrder(rows), (std::vector<std::size_t>{5, 7, 3, 4, 2, 6, 8, 1, 0}))
        << "NULL, then the empty call, then by collation; DL1XYZ and dl1xyz keep their log order";
    EXPECT_TRUE(CallSignOrder({}).empty());
}

TEST(RowsLogQuery, ServesRowsInTheGivenOrder)
{
    std::vector<TLogRow> rows = {RowWithCall("K1ABC"), RowWithCall("DL1ABC")};
    rows[0][TLogColumn::DigiBand] = "40";
    TRowsLogQuery query(rows, {1, 0});
    query.Open();
    EXPECT_EQ(query.FieldAsText("callsign"), "DL1ABC") << "the order given; names ignore case";
    EXPECT_EQ(query.FieldAsText("DigiBand"), "") << "NULL reads as the empty text";
    try {
        query.FieldAsText("Frequency");
        ADD_FAILURE() << "an unknown column must throw";
    } catch (const TLogQueryError& error) {
        EXPECT_STREQ(error.what(), "LogQuery: Field 'Frequency' not found");
    }
    query.Next();
    EXPECT_EQ(query.FieldAsText("DIGIBAND"), "40");
    query.Next();
    EXPECT_TRUE(query.PastLastRow());
    EXPECT_THROW(query.FieldAsText("CallSign"), TLogQueryError) << "no row past the end";
}
