#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, as root. Only
# missing packages are fetched, so a second run changes nothing.
set -euo pipefail

packages=(
  cmake make g++ libgtest-dev libbenchmark-dev nlohmann-json3-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-i686-win32 mingw-w64-i686-dev binutils-mingw-w64-i686
  wine wine32:i386 xvfb x11-utils fonts-wine fonts-liberation
  clang libclang-rt-14-dev clang-tidy cppcheck
)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  need_update=1
fi

missing=()
for package in "${packages[@]}"; do
  if [ "$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null)" != "install ok installed" ]; then
    missing+=("$package")
  fi
done

if [ "${#missing[@]}" -gt 0 ] || [ -n "${need_update:-}" ]; then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
