// The member file: how its bytes become lines, how a call's number is found
// in them, and how the file is loaded.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "members/MemberList.h"

using TLines = std::vector<std::string>;

TEST(MemberFile, LineSplitting)
{
    EXPECT_EQ(SplitMemberLines("A=1\rB=2\nC=3\r\nD=4"), (TLines{"A=1", "B=2", "C=3", "D=4"})) << "CR, LF and CR LF";
    EXPECT_EQ(SplitMemberLines("A=1\r\n"), (TLines{"A=1"})) << "a final break adds no empty line";
    EXPECT_EQ(SplitMemberLines("A=1\n\rB=2"), (TLines{"A=1", "", "B=2"})) << "LF CR is two breaks";
    EXPECT_EQ(SplitMemberLines("A=1\n\nB=2"), (TLines{"A=1", "", "B=2"})) << "an empty line is an entry";
    EXPECT_EQ(SplitMemberLines("\r\n"), (TLines{""})) << "a lone break is one empty line";
    EXPECT_EQ(SplitMemberLines(""), TLines{}) << "an empty file has no lines";
    EXPECT_EQ(SplitMemberLines(std::string("A=1\nB=2\0C=3\nD=4", 15)), (TLines{"A=1", "B=2"})) << "NUL ends the text";
    EXPECT_EQ(SplitMemberLines("\xEF\xBB\xBFK1ABC=1\n \tK2X=2 "), (TLines{"\xEF\xBB\xBFK1ABC=1", " \tK2X=2 "}))
        << "bytes stay as they are: BOM kept, nothing trimmed";
}

TEST(MemberFile, FindMemberNumber)
{
    EXPECT_EQ(FindMemberNumber({"K1ABC=12345678"}, "K1ABC"), "12345") << "at most five characters";
    EXPECT_EQ(FindMemberNumber({"K1ABC=12=3"}, "K1ABC"), "12=3") << "the first '=' splits";
    EXPECT_EQ(FindMemberNumber({"K1ABC=1", "W1AW=9", "K1ABC=2"}, "K1ABC"), "2") << "the later line wins";
    EXPECT_EQ(FindMemberNumber({"K1ABC=77", "K1ABC="}, "K1ABC"), "") << "a later empty number wins too";
    EXPECT_EQ(FindMemberNumber({"k1abc=5"}, "K1ABC"), "") << "calls compare with case";
    EXPECT_EQ(FindMemberNumber({"K1ABC =5"}, "K1ABC"), "") << "a space before '=' is part of the key";
    EXPECT_EQ(FindMemberNumber({"K1ABC= 5"}, "K1ABC"), " 5") << "a space after '=' is part of the number";
    EXPECT_EQ(FindMemberNumber({" \tK1ABC=42 \t"}, "K1ABC"), "42") << "blanks around the line do not matter";
    EXPECT_EQ(FindMemberNumber({"K1ABCD=9", "XK1ABC=8", "K1ABC/P=7"}, "K1ABC"), "")
        << "the call inside a longer call does not match";
    EXPECT_EQ(FindMemberNumber({"K1ABC"}, "K1ABC"), "") << "a line without '='";
    EXPECT_EQ(FindMemberNumber({"DL1ABC/QRP=123456"}, "DL1ABC/QRP"), "1234")
        << "a 10-character call keeps 4 characters in the 15-character window";
    EXPECT_EQ(FindMemberNumber({"ABCDEFGHIJKLM=1"}, "ABCDEFGHIJKLM"), "1") << "a 13-character call keeps 1";
    EXPECT_EQ(FindMemberNumber({"ABCDEFGHIJKLMN=12"}, "ABCDEFGHIJKLMN"), "")
        << "a 14-character call yields nothing";
    EXPECT_EQ(FindMemberNumber({"ABCDEFGHIJKLMNO=12"}, "ABCDEFGHIJKLMNO"), "") << "a 15-character call is never found";
    EXPECT_EQ(FindMemberNumber({"=123", "K1ABC=1"}, ""), "") << "an empty call matches nothing";
    EXPECT_EQ(FindMemberNumber({"\xEF\xBB\xBFK1ABC=1"}, "K1ABC"), "") << "a BOM spoils the first line's call";
    EXPECT_EQ(FindMemberNumber({}, "K1ABC"), "") << "empty list";
}

TEST(MemberFile, Loading)
{
    namespace fs = std::filesystem;
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    const fs::path folder = fs::temp_directory_path() / ("velmora-members-" + std::to_string(now));
    fs::create_directories(folder);
    auto write = [&](const std::string& name, const std::string& bytes) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
        return (folder / name).string();
    };

    EXPECT_EQ(LoadMemberFile((folder / "VC.dom").string()), TLines{}) << "missing file";
    fs::create_directory(folder / "folder.dom");
    EXPECT_EQ(LoadMemberFile((folder / "folder.dom").string()), TLines{}) << "a folder of that name counts as missing";
    EXPECT_EQ(LoadMemberFile(write("empty.dom", "")), TLines{}) << "empty file";
    EXPECT_EQ(LoadMemberFile(write("VC.dom", std::string("K1ABC=12\r\nW1AW=7\n\0K2X=3", 23))),
              (TLines{"K1ABC=12", "W1AW=7"}))
        << "read byte for byte, split into lines, cut at NUL";

    fs::remove_all(folder);
}
