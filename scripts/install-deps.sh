#!/usr/bin/env bash
# Installs every Debian package the build, the tests, the window and the
# package check need.
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  build-essential cmake pkg-config git \
  libpugixml-dev libgtest-dev libgmock-dev googletest libbenchmark-dev \
  qt6-base-dev qt6-translations-l10n libgl-dev libx11-dev libxcb1-dev \
  gdal-bin python3 python3-dbfread \
  xvfb xauth xdotool x11-utils imagemagick fonts-liberation fonts-dejavu-core \
  clang libclang-rt-14-dev \
  dpkg-dev lintian man-db >/dev/null
