#!/usr/bin/env bash
# Cross-builds the Windows programs with mingw-w64 into build-windows/
# (build-windows/bin/enlazor.exe and enlazor-cli.exe, linked statically),
# warnings treated as errors.
#
#   bash scripts/build-windows.sh [extra cmake arguments] [--target TARGET...]
#
# Everything after --target names what to build instead of everything, for
# instance only the programs the Debian package carries:
#
#   bash scripts/build-windows.sh --target enlazor enlazor-cli
set -euo pipefail
cd "$(dirname "$0")/.."
cmake_args=()
build_args=()
while [ $# -gt 0 ]; do
  if [ "$1" = --target ]; then
    [ $# -ge 2 ] || { echo "build-windows.sh: --target needs at least one target" >&2; exit 2; }
    build_args=("$@")
    break
  fi
  cmake_args+=("$1")
  shift
done
# What the build needs is installed once; a later build finds it there.
if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null || ! command -v wine >/dev/null ||
  ! command -v makensis >/dev/null || ! command -v chmcmd >/dev/null || ! command -v extract_chmLib >/dev/null ||
  [ ! -f third_party/pugixml/src/pugixml.cpp ] || [ ! -f third_party/expat/CMakeLists.txt ]; then
  bash scripts/install-windows-deps.sh
fi
cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DENLAZOR_WERROR=ON "${cmake_args[@]}" >/dev/null
cmake --build build-windows -j "$(nproc)" "${build_args[@]}"
