#!/usr/bin/env bash
# Configures and builds into build/ (binaries in build/bin/), then
# cross-builds into build-windows/ the Windows programs the Debian package
# carries (build/windows-programs names their targets), so that cpack finds
# them. Both builds treat warnings as errors. ENLAZOR_LINUX_ONLY=1 skips the cross build, for runs that need the
# Linux programs only and no cross compiler (scripts/run-sample.sh).
#
#   bash scripts/build.sh [extra cmake arguments]
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DENLAZOR_WERROR=ON "$@" >/dev/null
cmake --build build -j "$(nproc)"
if [ "${ENLAZOR_LINUX_ONLY:-0}" != 1 ]; then
  mapfile -t windows_targets <build/windows-programs
  bash scripts/build-windows.sh --target "${windows_targets[@]}"
fi
