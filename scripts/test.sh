#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine (as root) and runs every test: the
# portable core natively, then the 32-bit Windows build under Wine.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

scripts/install-deps.sh
jobs=$(nproc)

cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ctest --preset native -j "$jobs"

cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "$jobs"
source scripts/wine-env.sh
ctest --preset mingw
