// The library's module-level state, shared by the entry points and the
// statistics window. Everything runs on the host's user-interface thread.
#pragma once

#include <windows.h>

#include "plugin/PluginRecords.h"

class TfmMainForm;

// The copy of the last host record received; the rebuild uses it as its row
// buffer. All zero after loading.
extern TPluginData CurrentData;

// The one statistics window taking part in scoring, or none.
extern TfmMainForm* fmMainForm;

// The library's own module handle (window classes are registered on it).
HINSTANCE PluginInstance();
