// What every reliability suite needs beside hostkit's host session: the
// member file and the stored placement it starts from, and counts of the
// windows and objects a leak would leave behind.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "hostkit/HostSession.h"

namespace reliability {

inline constexpr char kLogTable[] = "Log";

// Plugins\VC.dom beside this executable, which the plug-in reads.
std::string MemberFilePath();
void WriteMemberFile(const std::string& bytes);
void RemoveMemberFile();

// hostkit's session as every suite holds it: the table "Log" in the
// standard columns and the plug-in loaded from `dllPath`.
hostkit::TSessionSettings SuiteSession(const std::string& dllPath);

// Top-level windows of this thread of the statistics window's class, or of
// any class, counting every child window below them too.
int CountStatisticsWindows();
int CountThreadWindows();

// What a leak would leave behind, as far as the platform lets us count it.
struct TResourceFigures {
    DWORD UserObjects = 0;   // GetGuiResources(GR_USEROBJECTS)
    DWORD GdiObjects = 0;    // GetGuiResources(GR_GDIOBJECTS)
    DWORD ProbedGdiObjects = 0; // GDI handle slots in use, probed one by one
    DWORD KernelHandles = 0; // GetProcessHandleCount
    DWORD ProbedHandles = 0; // valid handle values found by GetHandleInformation
    SIZE_T PrivateBytes = 0; // GetProcessMemoryInfo PrivateUsage
    SIZE_T WorkingSet = 0;   // GetProcessMemoryInfo WorkingSetSize
    // Bytes in busy blocks of every heap of the process (HeapWalk): exact
    // where private bytes move in whole pages.
    std::size_t HeapBytes = 0;
    std::size_t HeapBlocks = 0;
    int ThreadWindows = 0;
    std::size_t AdoObjects = 0; // the host database's live COM objects
};
TResourceFigures MeasureResources();
// GetGuiResources where the platform implements it, else the probed count.
DWORD GdiCount(const TResourceFigures& figures);
std::string DescribeResources(const TResourceFigures& figures);

}  // namespace reliability
