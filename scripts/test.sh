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

# The same core and tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer.
cmake --preset native-asan >/dev/null
cmake --build --preset native-asan -j "$jobs"
ctest --preset native-asan -j "$jobs"

# The fuzz targets: once over their starting corpora, then about 20 seconds
# of fuzzing each.
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
ctest --preset fuzz
scripts/fuzz.sh all 20

# clang-tidy and cppcheck.
LINT_JOBS="$jobs" scripts/lint.sh

cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "$jobs"
source scripts/wine-env.sh
ctest --preset mingw
