#include "velmora-host/MemberFileInstall.h"

#include <windows.h>

#include <stdexcept>

#include "hostkit/HostFiles.h"
#include "hostkit/HostProcess.h"

namespace {

// The one install a Ctrl+C must undo: the console handler runs on a thread
// of its own while the session's thread is stopped.
TMemberFileInstall* ActiveInstall = nullptr;

BOOL WINAPI RestoreOnBreak(DWORD event)
{
    if ((event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT || event == CTRL_CLOSE_EVENT) && ActiveInstall)
        ActiveInstall->Restore();
    return FALSE;  // the default handling then ends the process
}

}  // namespace

TMemberFileInstall::TMemberFileInstall(const std::string& source, const std::string& target) : Target_(target)
{
    const std::optional<std::string> content = hostkit::ReadFileBytes(source);
    if (!content)
        throw std::runtime_error("cannot read the member file " + source);
    Previous_ = hostkit::ReadFileBytes(target);

    const std::string folder = hostkit::FolderOf(target);
    if (!folder.empty() && GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (!CreateDirectoryA(folder.c_str(), nullptr))
            throw std::runtime_error("cannot create the folder " + folder);
        CreatedFolder_ = folder;
    }
    if (!hostkit::WriteFileBytes(target, *content)) {
        Restore();
        throw std::runtime_error("cannot write the member file " + target);
    }
    ActiveInstall = this;
    SetConsoleCtrlHandler(&RestoreOnBreak, TRUE);
}

TMemberFileInstall::~TMemberFileInstall()
{
    Restore();
    if (ActiveInstall == this) {
        SetConsoleCtrlHandler(&RestoreOnBreak, FALSE);
        ActiveInstall = nullptr;
    }
}

void TMemberFileInstall::Restore()
{
    if (Restored_)
        return;
    Restored_ = true;
    if (Previous_)
        hostkit::WriteFileBytes(Target_, *Previous_);
    else
        DeleteFileA(Target_.c_str());
    if (!CreatedFolder_.empty())
        RemoveDirectoryA(CreatedFolder_.c_str());
}
