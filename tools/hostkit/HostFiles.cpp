#include "hostkit/HostFiles.h"

#include <windows.h>

#include <fstream>
#include <iterator>
#include <utility>

namespace hostkit {

std::optional<std::string> ReadFileBytes(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad())
        return std::nullopt;
    return bytes;
}

bool WriteFileBytes(const std::string& path, std::string_view bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return static_cast<bool>(file);
}

bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string WindowsPath(std::string path)
{
    if (!path.empty() && path[0] == '/') {
        std::string onDrive = "Z:";
        onDrive += path;
        path = std::move(onDrive);
    }
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::string AbsoluteWindowsPath(const std::string& path)
{
    std::string windows = WindowsPath(path);
    char full[MAX_PATH] = {};
    if (GetFullPathNameA(windows.c_str(), MAX_PATH, full, nullptr) > 0)
        windows = full;
    return windows;
}

}  // namespace hostkit
