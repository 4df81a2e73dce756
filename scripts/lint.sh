#!/usr/bin/env bash
# Static analysis; exits non-zero on any finding.
# - clang-tidy (.clang-tidy) over every source of the product the native
#   sanitizer build compiles (the portable core, tools/) and over the fuzz
#   targets, through the compile databases of those two presets; then over
#   the Win32 code (the plug-in's window, the ADO query, the host side) for
#   the i686 Windows target, through the mingw builds'. LINT_TESTS=1 adds the
#   tests, native and Windows, and the benchmarks: clang-tidy takes about as
#   long again over them, so the test command leaves them to this.
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
  elif [ "${LINT_TESTS:-0}" = 1 ]; then
    folders=(src tools tests)
  else
    folders=(src tools)
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

# The Win32 code: the files only the mingw build compiles (the portable ones
# are read above), read as 32-bit Windows code against the mingw-w64 headers,
# from the compile databases of the mingw preset and of the plug-in DLL's own
# configuration (the win32 thread model; the window lives only there).
# clang does not know GCC's -mincoming-stack-boundary, so the databases are
# read through copies without it. misc-misplaced-const is left out here: the
# Win32 handles are pointers to opaque structures, and "const HWND window"
# means what it says, that the variable keeps its handle.
cmake --preset mingw >/dev/null
cmake -S . -B build/lint-plugin -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-i686-win32-threads.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DVELMORA_PLUGIN_ONLY=ON -DVELMORA_BUILD_TESTS=ON \
  -DVELMORA_PLUGIN_OUTPUT_DIR="$PWD/build/lint-plugin" >/dev/null
mapfile -t native_files < <(sources_of build/native-asan/compile_commands.json src tools tests bench)
mingw_include=$(i686-w64-mingw32-g++-posix -print-file-name=include)
mingw_cxx_include=$mingw_include/c++
mingw_tidy=(--quiet --checks=-misc-misplaced-const --extra-arg=--target=i686-w64-mingw32 --extra-arg=-Wno-unknown-warning-option
  "--extra-arg=-isystem$mingw_cxx_include" "--extra-arg=-isystem$mingw_cxx_include/i686-w64-mingw32"
  "--extra-arg=-isystem$mingw_cxx_include/backward" --extra-arg=-isystem/usr/i686-w64-mingw32/include)
windows_folders=(src tools)
if [ "${LINT_TESTS:-0}" = 1 ]; then
  windows_folders+=(tests bench)
fi
declare -A seen_windows_file=()
for database in build/mingw build/lint-plugin; do
  copy=build/lint-mingw/$(basename "$database")
  mkdir -p "$copy"
  sed 's/ -mincoming-stack-boundary=[0-9]*//g' "$database/compile_commands.json" >"$copy/compile_commands.json"
  files=()
  while IFS= read -r file; do
    if [ -z "${seen_windows_file[$file]:-}" ]; then
      seen_windows_file[$file]=1
      files+=("$file")
    fi
  done < <(sources_of "$copy/compile_commands.json" "${windows_folders[@]}" |
    grep -vxF -f <(printf '%s\n' "${native_files[@]}"))
  echo "clang-tidy: ${#files[@]} Windows files from $database"
  if ! printf '%s\n' "${files[@]}" | xargs -r -P "$jobs" -n 4 clang-tidy -p "$copy" "${mingw_tidy[@]}" 2>&1 |
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
