// Finding and reading the member file beside the host's executable.
#pragma once

#include <string>

#include "members/MemberList.h"

// The folder of the process's executable (the host logger, not this
// library), with its trailing backslash, + "Plugins\VC.dom".
std::string HostMemberFilePath();

// Reads the file while denying other writers. A missing file or a folder of
// that name gives an empty list; a file that cannot be opened or read throws
// std::runtime_error "Cannot open file <path>".
TMemberList LoadHostMemberFile(const std::string& path);
