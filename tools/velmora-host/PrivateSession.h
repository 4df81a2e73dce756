// A session with a member file of its own, run so that no file of the user is
// ever written: the plug-in reads Plugins\VC.dom beside the program that
// loads it, so the session copies this program into a folder of its own
// under %TEMP%, puts the member file into that folder's Plugins\ and runs the
// copy there. The user's program folder and member file are only read.
//
// A session killed outright (no chance to clean up) leaves its folder
// behind; every later start removes such folders. A folder belongs to a live
// session as long as its lock file is held open, by the session or by the
// copy it runs.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// Every start of velmora-host calls this first: it removes the folders of
// sessions that ended without cleaning up. Never throws; a folder it cannot
// remove now is tried again on the next start.
void RemoveAbandonedSessionFolders();

// Runs this program again with `childArgs` from a private folder holding a
// copy of it and `memberBytes` as Plugins\VC.dom, with this program's
// standard input, output and error and current folder, and returns the
// copy's exit status. The copy ends when this process ends, however that
// happens. Throws std::runtime_error when the session cannot be set up.
int RunInPrivateFolder(const std::string& memberBytes, const std::vector<std::string>& childArgs);

// The folder under which the sessions' folders are made, with its trailing
// backslash.
std::string SessionRootFolder();

// `args` without "--members FILE" and "--plugin PATH", with "--plugin
// plugin" in front: the command line the private copy runs with.
std::vector<std::string> PrivateCopyArguments(const std::vector<std::string>& args, const std::string& plugin);

// One argument quoted so that the C runtime's splitting gives it back.
std::string QuotedArgument(const std::string& arg);

// The whole file, or std::runtime_error saying why it cannot be read, in the
// system's words.
std::string ReadWholeFile(const std::string& path, const std::string& what);
