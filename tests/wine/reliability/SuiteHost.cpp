#include "SuiteHost.h"

#include <psapi.h>

#include <cstdio>
#include <fstream>
#include <vector>

#include "hostado/HostAdo.h"
#include "hostkit/HostProcess.h"

namespace reliability {

std::string MemberFilePath() { return hostkit::ExecutableFolder() + "Plugins\\VC.dom"; }

void WriteMemberFile(const std::string& bytes)
{
    CreateDirectoryA((hostkit::ExecutableFolder() + "Plugins").c_str(), nullptr);
    std::ofstream file(MemberFilePath(), std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void RemoveMemberFile() { DeleteFileA(MemberFilePath().c_str()); }

hostkit::TSessionSettings SuiteSession(const std::string& dllPath)
{
    hostkit::TSessionSettings settings;
    settings.PluginPath = dllPath;
    settings.Table = kLogTable;
    return settings;
}

namespace {

struct TWindowCount {
    bool StatisticsOnly = false;
    int Count = 0;
};

BOOL CALLBACK CountChild(HWND, LPARAM lParam)
{
    ++reinterpret_cast<TWindowCount*>(lParam)->Count;
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM lParam)
{
    auto* count = reinterpret_cast<TWindowCount*>(lParam);
    if (count->StatisticsOnly) {
        char name[64] = {};
        GetClassNameA(window, name, sizeof name);
        if (lstrcmpA(name, "TfmMainForm") == 0)
            ++count->Count;
        return TRUE;
    }
    ++count->Count;
    EnumChildWindows(window, &CountChild, lParam);
    return TRUE;
}

int CountWindows(bool statisticsOnly)
{
    TWindowCount count{statisticsOnly, 0};
    EnumThreadWindows(GetCurrentThreadId(), &CountTopLevel, reinterpret_cast<LPARAM>(&count));
    return count.Count;
}

}  // namespace

int CountStatisticsWindows() { return CountWindows(true); }
int CountThreadWindows() { return CountWindows(false); }

namespace {

void AddHeapBlocks(TResourceFigures& figures)
{
    std::vector<HANDLE> heaps(64);
    DWORD count = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
    if (count > heaps.size()) {
        heaps.resize(count);
        count = GetProcessHeaps(count, heaps.data());
    }
    for (DWORD index = 0; index < count && index < heaps.size(); ++index) {
        if (!HeapLock(heaps[index]))
            continue;
        PROCESS_HEAP_ENTRY entry = {};
        while (HeapWalk(heaps[index], &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
                figures.HeapBytes += entry.cbData;
                ++figures.HeapBlocks;
            }
        }
        HeapUnlock(heaps[index]);
    }
}

// Kernel handles are small multiples of 4, handed out lowest first; a leak
// leaves one more valid value below the bound.
DWORD ProbeKernelHandles()
{
    DWORD valid = 0;
    for (std::uintptr_t value = 4; value < 0x4000; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
            ++valid;
    }
    return valid;
}

// Wine answers a GDI handle given by its slot number alone (the upper word
// 0) for any live object in that slot, so the slots in use can be counted.
// Only meaningful under Wine; elsewhere GetGuiResources gives the count.
DWORD ProbeGdiObjects()
{
    DWORD live = 0;
    for (std::uintptr_t slot = 0x20; slot < 0x10000; ++slot)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0)
            ++live;
    return live;
}

}  // namespace

DWORD GdiCount(const TResourceFigures& figures)
{
    return figures.GdiObjects != 0 ? figures.GdiObjects : figures.ProbedGdiObjects;
}

TResourceFigures MeasureResources()
{
    TResourceFigures figures;
    figures.UserObjects = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    figures.GdiObjects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    figures.ProbedGdiObjects = ProbeGdiObjects();
    GetProcessHandleCount(GetCurrentProcess(), &figures.KernelHandles);
    figures.ProbedHandles = ProbeKernelHandles();
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
        figures.PrivateBytes = memory.PrivateUsage;
        figures.WorkingSet = memory.WorkingSetSize;
    }
    AddHeapBlocks(figures);
    figures.ThreadWindows = CountThreadWindows();
    figures.AdoObjects = hostado::LiveObjectCount();
    return figures;
}

std::string DescribeResources(const TResourceFigures& figures)
{
    char text[320];
    (void)std::snprintf(text, sizeof text,
                  "USER %lu, GDI %lu (probed %lu), handles %lu (probed %lu), private %lu KB, working set %lu KB, heap in "
                  "use %lu bytes in %lu blocks, thread windows %d, ADO objects %u",
                  figures.UserObjects, figures.GdiObjects, figures.ProbedGdiObjects, figures.KernelHandles,
                  figures.ProbedHandles,
                  static_cast<unsigned long>(figures.PrivateBytes / 1024),
                  static_cast<unsigned long>(figures.WorkingSet / 1024), static_cast<unsigned long>(figures.HeapBytes),
                  static_cast<unsigned long>(figures.HeapBlocks), figures.ThreadWindows,
                  static_cast<unsigned>(figures.AdoObjects));
    return text;
}

}  // namespace reliability
