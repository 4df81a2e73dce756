// What every reliability suite needs to act as the host logger: the log
// database behind an ADO connection, the plug-in loaded by path, a catcher
// for the plug-in's message boxes, records for the log table, and counts of
// the windows and objects a leak would leave behind.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "hostado/LogDatabase.h"
#include "hostkit/HostDatabase.h"
#include "hostkit/HostRecord.h"
#include "hostkit/MessageBoxCatcher.h"
#include "hostkit/PluginLibrary.h"
#include "logfiles/LogRow.h"

namespace reliability {

inline constexpr char kLogTable[] = "Log";

// Plugins\VC.dom beside this executable, which the plug-in reads.
std::string MemberFilePath();
void WriteMemberFile(const std::string& bytes);
void RemoveMemberFile();
// Deletes HKCU\Software\<this executable's name>, where the window keeps its
// placement, so a run starts from no stored placement.
void ForgetPlacement();

class THostBench {
public:
    // COM, the database with an empty table "Log" in the standard columns,
    // the message-box catcher, and the plug-in loaded from `dllPath`.
    explicit THostBench(const std::string& dllPath);
    ~THostBench();
    THostBench(const THostBench&) = delete;
    THostBench& operator=(const THostBench&) = delete;

    hostkit::THostRecord Record() const;
    hostkit::THostRecord Contact(const std::string& call, const std::string& band, const std::string& mode,
                                 const std::string& exchange) const;
    void AddRow(const std::string& call, const std::string& band, const std::string& mode,
                const std::string& exchange);

    hostkit::TPlugin& Plugin() { return *Plugin_; }
    void Unload() { Plugin_.reset(); }
    void Load() { Plugin_ = std::make_unique<hostkit::TPlugin>(DllPath_); }

    // Declared in this order so that the plug-in goes first (its window's
    // destruction may still show a box), then the catcher, then COM.
    hostkit::THostDatabase Log;
    hostado::TLogTable& Table;
    hostkit::TMessageBoxCatcher Boxes;

private:
    std::string DllPath_;
    std::unique_ptr<hostkit::TPlugin> Plugin_;
};

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
