#!/usr/bin/env bash
# The Windows build and its tests under Wine: the cross build, every test
# program (the window's end-to-end test in an X display of Xvfb's), the
# command line against the Linux one on the same documents, and the
# installer installed and removed silently.
#
#   bash scripts/test-windows.sh [LINUX_BUILD]      (default build/, built already)
set -euo pipefail
cd "$(dirname "$0")/.."
LINUX_BUILD="${1:-build}"

bash scripts/build-windows.sh

# A Wine prefix of the build's own, made once: nothing of the machine's
# Wine settings leaks in, and nothing of ours leaks out.
export WINEPREFIX="$PWD/build-windows/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  timeout 300 wineboot --init >/dev/null 2>&1 || true
  timeout 120 wineserver -w || true
fi

xvfb-run -a -s "-screen 0 1024x768x24" \
  ctest --test-dir build-windows --output-on-failure -j "$(nproc)"
bash scripts/windows-parity-check.sh "$LINUX_BUILD" build-windows 12
bash scripts/windows-installer-check.sh build-windows "$WINEPREFIX"
timeout 60 wineserver -k || true
