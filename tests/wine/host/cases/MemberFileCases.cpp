// The member file Plugins\VC.dom beside the host's executable, as seen
// through _GrabNumber.
#include <cstring>
#include <fstream>

#include "Checks.h"
#include "HostCase.h"
#include "HostSession.h"
#include "window/Win32Handles.h"

namespace host {
namespace {

std::string MemberFilePath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder.erase(folder.find_last_of("\\/") + 1);
    return folder + "Plugins\\VC.dom";
}

// Lines with every rule the lookup has: later lines win, five characters at
// most, letter case counts, a 15-character window, trimming, empty numbers.
// A byte-order mark stays part of the first line; a NUL ends the text.
constexpr char kMembers[] =
    "\xEF\xBB\xBF" "BOM1=5\r\n"
    "DL1ABC=123\r\n"
    "OK1AA=777\r\n"
    "OK1AA=778\r\n"
    "dl2zz=11\r\n"
    "DL2ZZ =22\r\n"
    "  \tS51A=1234567  \r\n"
    "G4XYZ= 42 \r\n"
    "F5ABC=9\n"
    "F5ABC=\r"
    "DL1ABCD=555\r\n"
    "DL1ABC/QRP=987654\r\n"
    "=77\n\r"
    "K1NUL=1\0"
    "K1AFTER=2\r\n";

}  // namespace

// Lookups under the file's rules: later line wins, 5-character cut, case-sensitive keys.
HOST_CASE(VcMemberFileLookup, "_GrabNumber answers from the member file",
          .MemberFile = std::string(kMembers, sizeof kMembers - 1))
{
    TCaseSession session;
    CHECK_EQ("", session.Grab("DL1ABC"), "_GrabNumber before _Run");
    REQUIRE(session.Run() != nullptr, "_Run returns a window");
    CHECK_EQ("", session.Boxes.TakeTexts(), "message boxes while reading the member file");
    CHECK_EQ("123", session.Grab("DL1ABC"), "DL1ABC (DL1ABCD and DL1ABC/QRP also contain it)");
    CHECK_EQ("778", session.Grab("OK1AA"), "OK1AA: the later line wins");
    CHECK_EQ("11", session.Grab("dl2zz"), "dl2zz as written in the file");
    CHECK_EQ("", session.Grab("DL2ZZ"), "DL2ZZ: only 'dl2zz' and 'DL2ZZ =' in the file");
    CHECK_EQ("12345", session.Grab("S51A"), "S51A: indented line, number cut to 5 characters");
    CHECK_EQ(" 42", session.Grab("G4XYZ"), "G4XYZ: the space after '=' belongs to the number");
    CHECK_EQ("", session.Grab("F5ABC"), "F5ABC: a later line with an empty number wins");
    CHECK_EQ("555", session.Grab("DL1ABCD"), "DL1ABCD");
    CHECK_EQ("9876", session.Grab("DL1ABC/QRP"), "10-character call keeps 4 characters of its number");
    CHECK_EQ("", session.Grab(""), "empty call, although a line starts with '='");
    CHECK_EQ("", session.Grab("N0NE"), "a call not in the file");
    CHECK_EQ("", session.Grab("BOM1"), "BOM1: the byte-order mark is part of the first line's key");
    CHECK_EQ("1", session.Grab("K1NUL"), "K1NUL, the line before the NUL byte");
    CHECK_EQ("", session.Grab("K1AFTER"), "K1AFTER, after the NUL byte: not loaded");

    TShortStringSlot buffer;
    std::memset(&buffer, 0xCC, sizeof buffer);
    session.Plugin().GrabNumberInto(session.Contact("DL1ABC", "20M", "CW").Get(), &buffer);
    int touched = 0;
    for (int index = 4; index < 256; ++index)
        touched += buffer.Bytes[index] != 0xCC;
    CHECK_EQ(0, touched, "result buffer bytes past the 3-character number that changed");
}

// The file is read when a window is created, not again while it lives.
HOST_CASE(VcMemberFileReadAtCreation, "changes to the member file count from the next window on",
          .MemberFile = "DL1ABC=123\r\n")
{
    TCaseSession session;
    const HWND first = session.Run();
    REQUIRE(first != nullptr, "_Run returns a window");
    {
        std::ofstream file(MemberFilePath(), std::ios::binary | std::ios::trunc);
        file << "DL1ABC=999\r\n";
    }
    CHECK_EQ("123", session.Grab("DL1ABC"), "_GrabNumber after the file changed");
    SendMessageA(first, WM_CLOSE, 0, 0);
    REQUIRE(session.Run() != nullptr, "_Run after the close returns a window");
    CHECK_EQ("999", session.Grab("DL1ABC"), "_GrabNumber in the next window");
}

// No member file: no message, every lookup empty.
HOST_CASE(VcMemberFileMissing, "no Plugins\\VC.dom beside the host")
{
    TCaseSession session;
    REQUIRE(session.Run() != nullptr, "_Run returns a window");
    CHECK_EQ("", session.Boxes.TakeTexts(), "message boxes without a member file");
    CHECK_EQ("", session.Grab("DL1ABC"), "_GrabNumber without a member file");
}

// A folder named VC.dom is no member file: no message, empty lookups.
HOST_CASE(VcMemberFileIsFolder, "Plugins\\VC.dom is a folder")
{
    CreateDirectoryA(MemberFilePath().c_str(), nullptr);
    TCaseSession session;
    REQUIRE(session.Run() != nullptr, "_Run returns a window");
    CHECK_EQ("", session.Boxes.TakeTexts(), "message boxes with a folder in the member file's place");
    CHECK_EQ("", session.Grab("DL1ABC"), "_GrabNumber with a folder in the member file's place");
    RemoveDirectoryA(MemberFilePath().c_str());
}

// A member file another program holds open for writing: "Cannot open file <path>." and the window still comes up.
HOST_CASE(VcMemberFileLocked, "the member file held open for writing by another handle", .MemberFile = "DL1ABC=123\r\n")
{
    TCaseSession session;
    const std::string path = MemberFilePath();
    TScopedFile writer(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    REQUIRE(writer.Valid(), "member file opened for writing by the host");
    const HWND window = session.Run();
    writer.Reset();
    CHECK_EQ("Cannot open file " + path + ".", session.Boxes.TakeTexts(), "message box while creating the window");
    REQUIRE(window != nullptr, "_Run returns a window although the member file could not be read");
    CHECK_EQ(true, IsWindowVisible(window) != FALSE, "window visible");
    CHECK_EQ(kEmptyReport, session.Report(), "report of the empty log");
    CHECK_EQ("", session.Grab("DL1ABC"), "_GrabNumber with the unreadable member file");
}

}  // namespace host
