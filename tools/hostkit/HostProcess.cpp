#include "hostkit/HostProcess.h"

#include <windows.h>

#include <vector>

namespace hostkit {

std::string ExecutablePath()
{
    // Paths may exceed MAX_PATH; grow until the name fits.
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size())
            return std::string(path.data(), length);
        path.resize(path.size() * 2);
    }
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ExecutableFolder() { return FolderOf(ExecutablePath()); }

std::string HostExeName()
{
    std::string name = ExecutablePath().substr(ExecutableFolder().size());
    if (const auto dot = name.find_last_of('.'); dot != std::string::npos)
        name.erase(dot);
    return name;
}

std::string PlacementKeyPath() { return "HKCU\\Software\\" + HostExeName() + "\\TfmMainForm"; }

}  // namespace hostkit
