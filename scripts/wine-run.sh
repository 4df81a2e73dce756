#!/usr/bin/env bash
# Runs a Windows program under the project's private Wine prefix and X
# display; CTest uses it as the cross-compiling emulator.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/wine-env.sh"
exec wine "$@"
