#include "members/HostMemberFile.h"

#include <windows.h>

#include <stdexcept>

#include "window/Win32Handles.h"

std::string HostMemberFilePath()
{
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return std::string(kMemberFileRelativePath);
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    path.erase(path.find_last_of("\\/") + 1);
    path.append(kMemberFileRelativePath);
    return path;
}

TMemberList LoadHostMemberFile(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return {};

    const auto cannotOpen = [&path] { return std::runtime_error("Cannot open file " + path); };
    TScopedFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        throw cannotOpen();

    std::string bytes;
    char buffer[64 * 1024];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr))
            throw cannotOpen();
        if (read == 0)
            break;
        bytes.append(buffer, read);
    }
    return SplitMemberLines(bytes);
}
