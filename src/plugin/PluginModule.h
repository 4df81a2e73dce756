// The library's module-level state, shared by the entry points and the
// statistics window. Everything runs on the host's user-interface thread.
#pragma once

#include <windows.h>

#include "plugin/PluginRecords.h"

class TfmMainForm;

// The copy of the last host record received; the rebuild uses it as its row
// buffer. All zero after loading.
// A declaration initialises nothing; clang-tidy 14 takes it for a definition.
extern TPluginData CurrentData;  // NOLINT(bugprone-dynamic-static-initializers)

// The one statistics window taking part in scoring, or none.
extern TfmMainForm* fmMainForm;  // NOLINT(bugprone-dynamic-static-initializers)

// The library's own module handle (window classes are registered on it).
HINSTANCE PluginInstance();
