#!/usr/bin/env bash
# Installs what the Windows build and its tests need on Debian 12: the
# mingw-w64 cross compiler, Wine (64-bit only) with its fonts and Xvfb for
# its windows, openbox, xdotool, xprop and ImageMagick's import to look at
# and click the hosted window as a person would, NSIS for the installer,
# chmcmd (fp-utils-3.2.2) and chmlib's tools (libchm-bin) for the help,
# zip, and pugixml's and Expat's source packages, so the Windows programs
# carry the same pugixml and Expat releases as the Linux ones.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive

# apt-get source needs a deb-src entry for the archive the machine already
# uses: the same entry as the binary one, deb822 or one-line style.
add_deb_src() {
  local sources=/etc/apt/sources.list.d/debian.sources
  if [ -f "$sources" ]; then
    grep -q '^Types:.*deb-src' "$sources" ||
      $SUDO sed -i 's/^Types: deb$/Types: deb deb-src/' "$sources"
  elif [ -f /etc/apt/sources.list ]; then
    grep -q '^deb-src ' /etc/apt/sources.list ||
      sed -n 's/^deb \(.*\)$/deb-src \1/p' /etc/apt/sources.list | $SUDO tee -a /etc/apt/sources.list >/dev/null
  fi
}
add_deb_src

$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64 \
  wine64 wine fonts-wine xvfb xauth openbox xdotool x11-utils imagemagick python3 \
  nsis zip unzip dpkg-dev googletest cmake fp-utils-3.2.2 libchm-bin >/dev/null

# pugixml's own sources, unpacked once into third_party/ (ignored by git).
mkdir -p third_party
if [ ! -f third_party/pugixml/src/pugixml.cpp ]; then
  rm -rf third_party/pugixml third_party/pugixml-src
  mkdir -p third_party/pugixml-src
  (cd third_party/pugixml-src && apt-get source -qq --download-only pugixml >/dev/null)
  orig="$(ls third_party/pugixml-src/pugixml_*.orig.tar.gz | head -n1)"
  mkdir -p third_party/pugixml
  tar -xzf "$orig" -C third_party/pugixml --strip-components=1
  rm -rf third_party/pugixml-src
fi

# Expat's own sources, the same way.
if [ ! -f third_party/expat/CMakeLists.txt ]; then
  rm -rf third_party/expat third_party/expat-src
  mkdir -p third_party/expat-src
  # Only the upstream release is used: a security update's Debian files may
  # be missing from the mirror while its original tarball is there.
  (cd third_party/expat-src && apt-get source -qq --download-only expat >/dev/null 2>&1) || true
  orig="$(ls third_party/expat-src/expat_*.orig.tar.* 2>/dev/null | head -n1)"
  [ -n "$orig" ] || { echo "install-windows-deps.sh: Expat's source package could not be fetched" >&2; exit 1; }
  mkdir -p third_party/expat-src/unpacked
  tar -xf "$orig" -C third_party/expat-src/unpacked
  # The release unpacks to <top>/expat/, a CMake project.
  mv "$(dirname "$(ls -d third_party/expat-src/unpacked/*/expat/CMakeLists.txt | head -n1)")" third_party/expat
  rm -rf third_party/expat-src
fi
