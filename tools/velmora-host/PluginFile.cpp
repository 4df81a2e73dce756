#include "velmora-host/PluginFile.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace {

std::uint32_t Little(const std::string& bytes, std::size_t at, std::size_t width)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return value;
}

}  // namespace

std::optional<std::string> PluginFileProblem(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::string("the file cannot be opened");
    std::string head(4096, '\0');
    file.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(file.gcount()));

    constexpr char kNotAProgram[] = "it is not a Windows program file";
    if (head.size() < 0x40 || head.compare(0, 2, "MZ") != 0)
        return std::string(kNotAProgram);
    const std::uint32_t peAt = Little(head, 0x3C, 4);
    if (peAt > head.size() - 24 || head.compare(peAt, 4, std::string("PE\0\0", 4)) != 0)
        return std::string(kNotAProgram) + " (an old MS-DOS or 16-bit one at most)";
    const std::uint32_t machine = Little(head, peAt + 4, 2);
    const std::uint32_t characteristics = Little(head, peAt + 22, 2);
    if (machine == IMAGE_FILE_MACHINE_AMD64)
        return std::string("it is a 64-bit (x64) file; the host loads 32-bit plug-ins only");
    if (machine != IMAGE_FILE_MACHINE_I386) {
        char text[96];
        (void)std::snprintf(text, sizeof text, "it is built for another processor (machine 0x%04X), not 32-bit x86",
                      static_cast<unsigned>(machine));
        return std::string(text);
    }
    if ((characteristics & IMAGE_FILE_DLL) == 0)
        return std::string("it is a program, not a DLL");
    return std::nullopt;
}

std::string PluginLoadMessage(const std::string& path, const std::string& loadError)
{
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return "no plug-in at " + path + ": there is no such file";
    if (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY)
        return "no plug-in at " + path + ": it is a folder";
    // The host kit's text is "cannot load the plug-in PATH: REASON" when the
    // system refused the file; anything else (a missing export) happened
    // after it loaded and says so itself.
    const std::string prefix = "cannot load the plug-in " + path + ": ";
    if (loadError.compare(0, prefix.size(), prefix) != 0)
        return loadError;
    std::string systemSays = loadError.substr(prefix.size());
    // The system's texts leave the file's place as "%1".
    if (const std::size_t insert = systemSays.find("%1"); insert != std::string::npos)
        systemSays.replace(insert, 2, path);
    const std::optional<std::string> problem = PluginFileProblem(path);
    return path + " is not a loadable 32-bit DLL: " + (problem ? *problem + "; the system says: " : "") + systemSays;
}
