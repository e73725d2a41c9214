#!/usr/bin/env bash
# Builds the Debian package from an existing build (default build/) with
# CPack and checks it as a school's technician will meet it: the files it
# holds and the libraries it depends on, lintian (errors fail; warnings and
# notes are shown), apt resolving its dependencies, an installation into a
# throwaway root, the installed enlazor-cli --version, and the manual page
# rendered by man.
#
#   bash scripts/package-check.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."

build="${1:-build}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

fail() {
  echo "package-check: $*" >&2
  exit 1
}
step() { printf '== %s\n' "$1"; }

step "cpack"
cpack --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log"; fail "cpack failed"; }
debs=("$work"/package/enlazor_*_*.deb)
[ -f "${debs[0]}" ] || fail "no enlazor_<version>_<arch>.deb in $work/package"
deb="${debs[0]}"
version="$(dpkg-deb --field "$deb" Version)"
echo "$(basename "$deb")"

step "dpkg-deb --contents"
contents="$(dpkg-deb --contents "$deb")"
for path in usr/bin/enlazor usr/bin/enlazor-cli \
    usr/share/applications/enlazor.desktop \
    usr/share/icons/hicolor/scalable/apps/enlazor.svg \
    usr/share/man/man1/enlazor-cli.1.gz usr/share/man/man1/enlazor.1.gz \
    usr/share/doc/enlazor/copyright usr/share/doc/enlazor/changelog.gz; do
  grep -q " \./$path\$" <<<"$contents" || fail "the package lacks /$path"
done
# The programs in the Horalis folder are for private installations only.
if grep -q " \./usr/enlazor" <<<"$contents"; then fail "the package holds the private-folder copies"; fi
depends="$(dpkg-deb --field "$deb" Depends)"
echo "Depends: $depends"
for library in libc6 libstdc++6 libpugixml1v5 libqt6core6 libqt6gui6 libqt6widgets6 qt6-translations-l10n; do
  grep -q "\b$library\b" <<<"$depends" || fail "Depends lacks $library"
done
# F1 opens SAGA.chm only with a CHM viewer at hand.
[ "$(dpkg-deb --field "$deb" Recommends)" = "xchm" ] || fail "the package does not recommend xchm"

step "lintian"
# Errors fail the check; the rest (a locally built binary lacks, for
# instance, the hardening flags Debian's own build tools add) is shown.
status=0
lintian --fail-on error --display-info "$deb" >"$work/lintian.log" 2>&1 || status=$?
grep -v '^running with root privileges' "$work/lintian.log" || true
[ "$status" -eq 0 ] || fail "lintian reports errors"

step "apt resolves the dependencies"
apt-get install --simulate --no-install-recommends "$deb" >"$work/apt.log" 2>&1 \
  || { cat "$work/apt.log"; fail "apt cannot install the package"; }

step "installed into a throwaway root"
root="$work/root"
dpkg-deb -x "$deb" "$root"
installed_version="$("$root/usr/bin/enlazor-cli" --version)"
[ "$installed_version" = "enlazor-cli $version" ] \
  || fail "enlazor-cli --version says '$installed_version', the package is $version"
echo "$installed_version"
desktop="$root/usr/share/applications/enlazor.desktop"
grep -qx 'Categories=Education;' "$desktop" || fail "the menu entry is not under Education"
exec_name="$(sed -n 's/^Exec=//p' "$desktop")"
icon_name="$(sed -n 's/^Icon=//p' "$desktop")"
[ -x "$root/usr/bin/$exec_name" ] || fail "the menu entry starts '$exec_name', which is not installed"
[ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon_name.svg" ] \
  || fail "the menu entry's icon '$icon_name' is not installed"

step "man enlazor-cli"
page="$root/usr/share/man/man1/enlazor-cli.1.gz"
warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)"
[ -z "$warnings" ] || fail "the manual page has groff warnings: $warnings"
rendered="$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>&1)"
for section in NOMBRE SINOPSIS ÓRDENES OPCIONES "ESTADO DE SALIDA" ENTORNO ARCHIVOS; do
  grep -q "^$section" <<<"$rendered" || fail "the manual page lacks $section"
done
head -n 4 <<<"$rendered"

echo "package-check: $(basename "$deb") is fine"
