// Every message box the plug-in shows on the case's thread is caught,
// recorded and dismissed by hostkit's catcher, so no case ever waits for a
// user.
#pragma once

#include "hostkit/MessageBoxCatcher.h"

namespace host {

using hostkit::TCaughtBox;
using hostkit::TMessageBoxCatcher;

}  // namespace host
