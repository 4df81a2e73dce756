// The export and import directories of a PE file, read from the file itself
// as a loader would, without loading it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace host {

struct TPeExport {
    std::string Name;
    DWORD Ordinal = 0;  // biased: the number a caller passes to GetProcAddress
    DWORD FunctionRva = 0;
};

struct TPeFacts {
    std::string Problem;  // empty when the file could be read
    WORD Machine = 0;
    DWORD OrdinalBase = 0;
    DWORD FunctionCount = 0;
    std::vector<TPeExport> Exports;  // named exports only
    std::vector<std::string> Imports;
    std::vector<std::string> DelayImports;
};

TPeFacts ReadPeFile(const std::string& path);

// The import address table slot through which the loaded `module` calls
// `dll`!`function`, or null when it does not import it by name.
void** FindImportSlot(HMODULE module, const char* dll, const char* function);

}  // namespace host
