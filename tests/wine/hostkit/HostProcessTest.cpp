// What the test programs rely on to run a copy of themselves under another
// name: folders made and removed whole, the copy being the same program,
// paths from the Unix side made absolute Windows paths.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "hostkit/HostFiles.h"
#include "hostkit/HostProcess.h"
#include "hostkit/MessageBoxCatcher.h"

namespace {

std::string ScratchFolder(const std::string& name) { return hostkit::ExecutableFolder() + "hostkit-tests\\" + name; }

}  // namespace

TEST(HostFolders, CreateFoldersMakesEveryMissingLevel)
{
    const std::string root = ScratchFolder("levels");
    hostkit::DeleteFolderTree(root);
    hostkit::CreateFolders(root + "\\a\\b\\c\\");
    EXPECT_TRUE(hostkit::PathExists(root + "\\a\\b\\c"));
    hostkit::CreateFolders(root + "\\a\\b\\c");
    EXPECT_TRUE(hostkit::PathExists(root + "\\a\\b\\c")) << "creating what exists is harmless";
    hostkit::DeleteFolderTree(root);
}

TEST(HostFolders, DeleteFolderTreeRemovesFilesAndFoldersBelow)
{
    const std::string root = ScratchFolder("tree");
    hostkit::CreateFolders(root + "\\inner\\deeper");
    ASSERT_TRUE(hostkit::WriteFileBytes(root + "\\top.txt", "top"));
    ASSERT_TRUE(hostkit::WriteFileBytes(root + "\\inner\\deeper\\leaf.txt", "leaf"));
    hostkit::DeleteFolderTree(root + "\\");
    EXPECT_FALSE(hostkit::PathExists(root)) << "with a trailing backslash";

    hostkit::CreateFolders(root + "\\inner");
    ASSERT_TRUE(hostkit::WriteFileBytes(root + "\\inner\\leaf.txt", "leaf"));
    hostkit::DeleteFolderTree(root);
    EXPECT_FALSE(hostkit::PathExists(root)) << "without one";
}

TEST(HostFolders, DeleteFolderTreeOfAnEmptyNameLeavesTheWorkingFolder)
{
    ASSERT_TRUE(hostkit::WriteFileBytes("hostkit-working-folder.txt", "stays"));
    hostkit::DeleteFolderTree("");
    EXPECT_TRUE(hostkit::PathExists("hostkit-working-folder.txt"));
    DeleteFileA("hostkit-working-folder.txt");
}

TEST(OwnExecutable, PlacedCopyIsThisProgramAndPlacingAgainKeepsIt)
{
    const std::string folder = ScratchFolder("copy\\");
    hostkit::DeleteFolderTree(folder);
    hostkit::CreateFolders(folder);
    // The placed copy is a second name of this very program, which cannot be
    // removed while it runs; a run of the same build after this one finds it
    // still there, so each run places a name of its own.
    const std::string exe = folder + "Renamed-" + std::to_string(GetCurrentProcessId()) + ".exe";
    ASSERT_TRUE(hostkit::WriteFileBytes(exe, "an older program of that name"));
    EXPECT_FALSE(hostkit::IsSameFile(exe, hostkit::ExecutablePath()));

    ASSERT_TRUE(hostkit::PlaceOwnExecutable(exe)) << "replaces what stood there";
    const std::string placed = hostkit::ReadFileBytes(exe).value_or("");
    EXPECT_EQ(hostkit::ReadFileBytes(hostkit::ExecutablePath()).value_or("?"), placed) << "byte for byte this program";
    EXPECT_TRUE(hostkit::PlaceOwnExecutable(exe)) << "a second placing";
    EXPECT_EQ(placed, hostkit::ReadFileBytes(exe).value_or(""));
    hostkit::DeleteFolderTree(folder);
}

TEST(OwnExecutable, SameFileComparesFilesNotNames)
{
    const std::string self = hostkit::ExecutablePath();
    EXPECT_TRUE(hostkit::IsSameFile(self, hostkit::AbsoluteWindowsPath(self)));
    EXPECT_FALSE(hostkit::IsSameFile(self, self + ".missing")) << "a name that names no file";
}

TEST(WindowsPaths, UnixPathsLandOnTheZDriveAbsolute)
{
    EXPECT_EQ("Z:\\work\\x\\y.dll", hostkit::AbsoluteWindowsPath("/work/x/y.dll"));
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    std::string expected = current;
    if (expected.back() != '\\')
        expected += '\\';
    EXPECT_EQ(expected + "Plugins\\VC.dom", hostkit::AbsoluteWindowsPath("Plugins/VC.dom")) << "relative to here";
}

TEST(PlacementKey, NamedAfterTheRunningProgramBelowSoftware)
{
    EXPECT_EQ("Software\\hostkit_tests\\TfmMainForm", hostkit::PlacementKeyPath());
}

TEST(MessageBoxes, CaughtCountKeepsCountingBoxesAlreadyTaken)
{
    hostkit::TMessageBoxCatcher boxes;
    MessageBoxA(nullptr, "first", "test", MB_OK);
    EXPECT_EQ(1u, boxes.Take().size());
    MessageBoxA(nullptr, "second", "test", MB_OK);
    EXPECT_EQ(1u, boxes.Pending());
    EXPECT_EQ(2u, boxes.CaughtCount()) << "the count a host reports at the end";
}
