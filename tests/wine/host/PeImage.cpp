#include "PeImage.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

namespace host {

namespace {

class TFileImage {
public:
    explicit TFileImage(std::vector<char> bytes) : Bytes_(std::move(bytes)) {}

    template <typename T>
    const T* At(std::size_t offset) const
    {
        if (offset > Bytes_.size() || Bytes_.size() - offset < sizeof(T))
            return nullptr;
        return reinterpret_cast<const T*>(Bytes_.data() + offset);
    }

    bool ReadHeaders(std::string& problem)
    {
        const auto* dos = At<IMAGE_DOS_HEADER>(0);
        if (!dos || dos->e_magic != IMAGE_DOS_SIGNATURE) {
            problem = "no MZ header";
            return false;
        }
        Nt_ = At<IMAGE_NT_HEADERS32>(static_cast<std::size_t>(dos->e_lfanew));
        if (!Nt_ || Nt_->Signature != IMAGE_NT_SIGNATURE ||
            Nt_->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR32_MAGIC) {
            problem = "no 32-bit PE header";
            return false;
        }
        const std::size_t sections = static_cast<std::size_t>(dos->e_lfanew) + sizeof(DWORD) + sizeof(IMAGE_FILE_HEADER) +
                                     Nt_->FileHeader.SizeOfOptionalHeader;
        for (WORD index = 0; index < Nt_->FileHeader.NumberOfSections; ++index) {
            const auto* section = At<IMAGE_SECTION_HEADER>(sections + index * sizeof(IMAGE_SECTION_HEADER));
            if (!section) {
                problem = "section table cut short";
                return false;
            }
            Sections_.push_back(section);
        }
        return true;
    }

    const IMAGE_NT_HEADERS32& Nt() const { return *Nt_; }

    // The file offset of a relative virtual address, or SIZE_MAX.
    std::size_t OffsetOf(DWORD rva) const
    {
        for (const IMAGE_SECTION_HEADER* section : Sections_) {
            const DWORD size = std::max(section->Misc.VirtualSize, section->SizeOfRawData);
            if (rva >= section->VirtualAddress && rva < section->VirtualAddress + size)
                return rva - section->VirtualAddress + section->PointerToRawData;
        }
        return static_cast<std::size_t>(-1);
    }

    template <typename T>
    const T* AtRva(DWORD rva) const
    {
        return At<T>(OffsetOf(rva));
    }

    std::string TextAtRva(DWORD rva) const
    {
        std::size_t offset = OffsetOf(rva);
        std::string text;
        while (offset < Bytes_.size() && Bytes_[offset] != '\0')
            text += Bytes_[offset++];
        return text;
    }

private:
    std::vector<char> Bytes_;
    const IMAGE_NT_HEADERS32* Nt_ = nullptr;
    std::vector<const IMAGE_SECTION_HEADER*> Sections_;
};

}  // namespace

TPeFacts ReadPeFile(const std::string& path)
{
    TPeFacts facts;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        facts.Problem = "cannot open " + path;
        return facts;
    }
    TFileImage image(std::vector<char>(std::istreambuf_iterator<char>(file), {}));
    if (!image.ReadHeaders(facts.Problem))
        return facts;
    facts.Machine = image.Nt().FileHeader.Machine;
    const auto& directories = image.Nt().OptionalHeader.DataDirectory;

    const IMAGE_DATA_DIRECTORY& exportEntry = directories[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (exportEntry.VirtualAddress != 0) {
        const auto* exports = image.AtRva<IMAGE_EXPORT_DIRECTORY>(exportEntry.VirtualAddress);
        if (!exports) {
            facts.Problem = "export directory outside the file";
            return facts;
        }
        facts.OrdinalBase = exports->Base;
        facts.FunctionCount = exports->NumberOfFunctions;
        for (DWORD index = 0; index < exports->NumberOfNames; ++index) {
            const auto* nameRva = image.AtRva<DWORD>(exports->AddressOfNames + index * sizeof(DWORD));
            const auto* ordinal = image.AtRva<WORD>(exports->AddressOfNameOrdinals + index * sizeof(WORD));
            if (!nameRva || !ordinal)
                break;
            const auto* function = image.AtRva<DWORD>(exports->AddressOfFunctions + *ordinal * sizeof(DWORD));
            facts.Exports.push_back({image.TextAtRva(*nameRva), *ordinal + exports->Base, function ? *function : 0});
        }
    }

    const IMAGE_DATA_DIRECTORY& importEntry = directories[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (DWORD offset = 0; importEntry.VirtualAddress != 0; offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto* descriptor = image.AtRva<IMAGE_IMPORT_DESCRIPTOR>(importEntry.VirtualAddress + offset);
        if (!descriptor || descriptor->Name == 0)
            break;
        facts.Imports.push_back(image.TextAtRva(descriptor->Name));
    }

    const IMAGE_DATA_DIRECTORY& delayEntry = directories[IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT];
    for (DWORD offset = 0; delayEntry.VirtualAddress != 0; offset += sizeof(IMAGE_DELAYLOAD_DESCRIPTOR)) {
        const auto* descriptor = image.AtRva<IMAGE_DELAYLOAD_DESCRIPTOR>(delayEntry.VirtualAddress + offset);
        if (!descriptor || descriptor->DllNameRVA == 0)
            break;
        facts.DelayImports.push_back(image.TextAtRva(descriptor->DllNameRVA));
    }
    return facts;
}

void** FindImportSlot(HMODULE module, const char* dll, const char* function)
{
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (entry.VirtualAddress == 0)
        return nullptr;
    for (auto* descriptor = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + entry.VirtualAddress);
         descriptor->Name != 0; ++descriptor) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + descriptor->Name), dll) != 0)
            continue;
        if (descriptor->OriginalFirstThunk == 0)
            continue;  // bound without names: cannot tell the slots apart
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA32*>(base + descriptor->OriginalFirstThunk);
        auto* slots = reinterpret_cast<void**>(base + descriptor->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL32(names->u1.Ordinal))
                continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0)
                return slots;
        }
    }
    return nullptr;
}

}  // namespace host
