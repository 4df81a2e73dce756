// Text leaving the tools: UTF-8 kept, every other byte read as Windows-1252.
#include <gtest/gtest.h>

#include <string>

#include "logfiles/TextEncoding.h"

TEST(TextEncoding, ValidUtf8StaysAsItIs)
{
    for (const std::string& text : {std::string("DL1ABC 599 VC12"), std::string("Jos\xC3\xA9"),
                                   std::string("\xE2\x82\xAC 5"), std::string("\xF0\x9F\x93\xBB radio"),
                                   std::string("a\0b", 3)})
        EXPECT_EQ(Utf8OfLogText(text), text) << text;
}

TEST(TextEncoding, OtherBytesAreWindows1252)
{
    EXPECT_EQ(Utf8OfLogText("Jos\xE9"), "Jos\xC3\xA9");
    EXPECT_EQ(Utf8OfLogText("\x80"), "\xE2\x82\xAC") << "the euro sign";
    EXPECT_EQ(Utf8OfLogText("\x9F"), "\xC5\xB8");
    EXPECT_EQ(Utf8OfLogText("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D")
        << "the five undefined bytes keep their numbers";
    EXPECT_EQ(Utf8OfLogText("\xC3"), "\xC3\x83") << "a lead byte at the end";
    EXPECT_EQ(Utf8OfLogText("\xC3(\xA9"), "\xC3\x83(\xC2\xA9") << "a lead byte without its continuation";
}

TEST(TextEncoding, MalformedSequencesAreNotUtf8)
{
    EXPECT_EQ(Utf8OfLogText("\xC0\xAF"), "\xC3\x80\xC2\xAF") << "an overlong form";
    EXPECT_EQ(Utf8OfLogText("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xE2\x82\xAC") << "a surrogate";
    EXPECT_EQ(Utf8OfLogText("\xF4\x90\x80\x80"), "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC") << "past U+10FFFF";
    EXPECT_EQ(Utf8OfLogText("\xE2\x82"), "\xC3\xA2\xE2\x80\x9A") << "a sequence cut short";
}
