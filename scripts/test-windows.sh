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
# The hosted window's tests look at the screen and click, under openbox too.
for tool in openbox xdotool xprop xwininfo import; do
  command -v "$tool" >/dev/null || { bash scripts/install-windows-deps.sh; break; }
done

source scripts/wine-prefix.sh

# The same settings whatever the locale of the machine: Wine takes the code
# page and the decimal separator from it, and the tests expect these.
# Wine's own processes (its services, the desktop) start with the first
# program of a session and keep that program's output open for as long as
# they live, so ctest would wait on a test that has long passed. They are
# started here, writing nowhere, and kept for the whole run (wineserver -p).
LC_ALL=C.UTF-8 xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  wineserver -p
  wine build-windows/bin/hosted_test_host.exe - start-session - </dev/null >/dev/null 2>&1 || true
  status=0
  ctest --test-dir build-windows --output-on-failure -j "$(nproc)" || status=$?
  wineserver -k || true
  exit $status'
bash scripts/windows-parity-check.sh "$LINUX_BUILD" build-windows 12
bash scripts/windows-installer-check.sh build-windows "$WINEPREFIX"
timeout 60 wineserver -k || true
