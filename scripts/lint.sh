#!/usr/bin/env bash
# Static analysis; exits non-zero on any finding.
# - clang-tidy (.clang-tidy) over every source the native sanitizer build
#   compiles (the portable core, tools/ and tests/) and over the fuzz
#   targets, through the compile databases of those two presets.
# - cppcheck (.cppcheck-suppressions) over all of src/: the portable files as
#   a 64-bit Unix program, the Windows files as 32-bit Windows.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

jobs=${LINT_JOBS:-2}
status=0

# Sources listed in a compile database, keeping those under the given folders.
sources_of() {
  local database=$1
  shift
  local pattern
  pattern=$(printf '|%s' "$@")
  sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$database" |
    grep -E "^$PWD/(${pattern:1})/" | sort -u
}

# Configuring refreshes the databases, so files added since are seen too.
cmake --preset native-asan >/dev/null
databases=(build/native-asan)
if command -v clang++ >/dev/null; then
  cmake --preset fuzz >/dev/null
  databases+=(build/fuzz)
fi

for database in "${databases[@]}"; do
  if [ "$database" = build/fuzz ]; then
    folders=(tests/fuzz)
  else
    folders=(src tools tests)
  fi
  mapfile -t files < <(sources_of "$database/compile_commands.json" "${folders[@]}")
  echo "clang-tidy: ${#files[@]} files from $database"
  # The per-file count of warnings in system headers is noise; the findings
  # themselves and any error come through.
  if ! printf '%s\n' "${files[@]}" | xargs -r -P "$jobs" -n 4 clang-tidy -p "$database" --quiet 2>&1 |
    { grep -vE '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$' || true; }; then
    status=1
  fi
done

# The Windows files are the ones the native build leaves out.
mapfile -t portable < <(sources_of build/native-asan/compile_commands.json src | sed "s|^$PWD/||")
mapfile -t windows < <(find src -name '*.cpp' | sort | grep -vxF -f <(printf '%s\n' "${portable[@]}"))

cppcheck_common=(--std=c++20 --language=c++ --enable=warning,performance,portability,style
  --inline-suppr --suppressions-list=.cppcheck-suppressions --error-exitcode=1 --quiet -I src)
echo "cppcheck: ${#portable[@]} portable files"
cppcheck "${cppcheck_common[@]}" --platform=unix64 "${portable[@]}" || status=1
# Without the Windows headers cppcheck needs the version macro they set; the
# ADO query refuses to compile against older declarations.
echo "cppcheck: ${#windows[@]} Windows files"
cppcheck "${cppcheck_common[@]}" --platform=win32A --library=windows -D_WIN32 -DWIN32 \
  -DNTDDI_VERSION=0x0A000000 "${windows[@]}" || status=1

if [ "$status" -ne 0 ]; then
  echo "lint: findings above" >&2
fi
exit "$status"
