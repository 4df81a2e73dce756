// The DLL file as a loader sees it: its export table and the DLLs it needs.
#include <algorithm>
#include <cctype>

#include "Checks.h"
#include "HostCase.h"
#include "PeImage.h"
#include "HostSession.h"

namespace host {
namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// DLLs every Windows has; the plug-in must need nothing else beside it.
bool IsSystemDll(const std::string& name)
{
    static const char* const kSystem[] = {"kernel32.dll", "user32.dll",   "gdi32.dll",   "advapi32.dll",
                                          "ole32.dll",    "oleaut32.dll", "msvcrt.dll",  "ucrtbase.dll",
                                          "ntdll.dll",    "comctl32.dll", "shell32.dll", "shlwapi.dll"};
    const std::string lower = Lower(name);
    if (lower.rfind("api-ms-win-", 0) == 0)
        return true;
    return std::find(std::begin(kSystem), std::end(kSystem), lower) != std::end(kSystem);
}

bool IsToolchainRuntime(const std::string& name)
{
    const std::string lower = Lower(name);
    return lower.rfind("libgcc", 0) == 0 || lower.rfind("libstdc++", 0) == 0 || lower.rfind("libwinpthread", 0) == 0;
}

}  // namespace

// Exactly the six names, ordinals 1 to 6, nothing exported by ordinal alone; names and ordinals resolve alike once loaded.
HOST_CASE(VcExportTable, "the export table holds the six entry points by name and ordinal")
{
    const TPeFacts facts = ReadPeFile(PluginPath());
    REQUIRE(facts.Problem.empty(), "the DLL file can be read as a PE image");
    CHECK_EQ(IMAGE_FILE_MACHINE_I386, facts.Machine, "machine type of the DLL");
    CHECK_EQ(1u, facts.OrdinalBase, "ordinal base of the export table");
    CHECK_EQ(6u, facts.FunctionCount, "number of exported functions");

    std::string names;
    for (const TPeExport& entry : facts.Exports)
        names += (names.empty() ? "" : ", ") + entry.Name + "@" + std::to_string(entry.Ordinal);
    CHECK_EQ("_AddQSO@4, _GetInfo@6, _GetScore@3, _GrabNumber@1, _Release@2, _Run@5", names,
             "exported names with their ordinals");
    for (const TPeExport& entry : facts.Exports)
        CHECK(entry.FunctionRva != 0, "export points at code", entry.Name + " has no address");

    hostkit::TPlugin plugin(PluginPath());
    std::string mismatches;
    for (const std::string& mismatch : plugin.OrdinalMismatches())
        mismatches += (mismatches.empty() ? "" : "; ") + mismatch;
    CHECK_EQ("", mismatches, "exports whose ordinal resolves elsewhere than their name");
}

// The DLL imports only system DLLs: the toolchain's runtime is linked in, so the DLL runs beside any host.
HOST_CASE(VcImportTable, "the DLL needs no toolchain runtime DLL, only system DLLs")
{
    const TPeFacts facts = ReadPeFile(PluginPath());
    REQUIRE(facts.Problem.empty(), "the DLL file can be read as a PE image");
    CHECK(!facts.Imports.empty(), "the import table lists DLLs", "none listed");
    std::vector<std::string> all = facts.Imports;
    all.insert(all.end(), facts.DelayImports.begin(), facts.DelayImports.end());
    std::string runtime;
    std::string foreign;
    for (const std::string& dll : all) {
        if (IsToolchainRuntime(dll))
            runtime += (runtime.empty() ? "" : ", ") + dll;
        else if (!IsSystemDll(dll))
            foreign += (foreign.empty() ? "" : ", ") + dll;
    }
    CHECK_EQ("", runtime, "toolchain runtime DLLs imported");
    CHECK_EQ("", foreign, "imported DLLs that are not system DLLs");
}

}  // namespace host
