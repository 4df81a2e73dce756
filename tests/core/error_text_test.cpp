// The text an error box shows: a full stop is added only when the message's
// last character sorts after ".".
#include <gtest/gtest.h>

#include "window/ErrorText.h"

TEST(ErrorText, FullStopOnlyAfterCharactersSortingAfterIt)
{
    EXPECT_EQ(ErrorBoxText("LogQuery: Field 'ITUZone' not found"), "LogQuery: Field 'ITUZone' not found.");
    EXPECT_EQ(ErrorBoxText("Cannot open file C:\\Logger\\Plugins\\VC.dom"),
              "Cannot open file C:\\Logger\\Plugins\\VC.dom.");
    EXPECT_EQ(ErrorBoxText("Already ends."), "Already ends.");
    EXPECT_EQ(ErrorBoxText("Bracket)"), "Bracket)") << "')' sorts before '.'";
    EXPECT_EQ(ErrorBoxText("Bang!"), "Bang!") << "'!' sorts before '.'";
    EXPECT_EQ(ErrorBoxText("Path/"), "Path/.") << "'/' sorts after '.'";
    EXPECT_EQ(ErrorBoxText("Umlaut \xE4"), "Umlaut \xE4.") << "codes above 127 sort after '.'";
    EXPECT_EQ(ErrorBoxText(""), "");
}
