#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 VQX16 maintainers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds the Debian package the way the README says (./run.sh package) in the build tree it is
# given, has lintian check it, unpacks it into a temporary root and checks that an operator
# gets a working installation: the programs, the language files where the desktop entry starts
# the program, a valid desktop entry and AppStream metadata, the icon in its sizes, the man
# pages, and the declared dependencies.
#
#   package_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail

src=$1
build=$2
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
arch=$(dpkg --print-architecture)
deb=$build/vqx16_${version}_${arch}.deb

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

rm -f "$deb"
VQX16_BUILD=$build "$src/run.sh" package >"$root.log" 2>&1 || {
  cat "$root.log" >&2
  rm -f "$root.log"
  echo "FAIL: ./run.sh package" >&2
  exit 1
}
rm -f "$root.log"
[ -f "$deb" ] || { echo "FAIL: $deb was not built" >&2; exit 1; }

# Control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = vqx16 ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)'"
depends=$(field Depends)
for dep in libqt6widgets6 libqt6serialport6 libqt6gui6 libqt6core6 fonts-dejavu-core libc6; do
  [[ ",$depends," =~ [,\ ]${dep}[\ ,\(] ]] || fail "Depends lacks $dep: $depends"
done

# The package's dependencies resolve on this machine (a dry run of the README's install line).
apt-get install -s "$deb" >/dev/null 2>"$root.apt" || { cat "$root.apt" >&2; fail "apt-get install -s"; }
rm -f "$root.apt"
# Debian's own checks: copyright, changelog, man pages, control data, permissions, icon sizes.
lintian --fail-on error,warning "$deb" || fail "lintian"

dpkg -x "$deb" "$root"

# Everything lives under /usr (lintian rejects /usr/local).
outside=$(cd "$root" && find . -mindepth 1 -maxdepth 1 ! -name usr)
[ -z "$outside" ] || fail "files outside /usr: $outside"

share=$root/usr/share
# No path of the build machine leaks into the installed files.
leaked=$(grep -rlE -- "/usr/local|$build|$src" "$share" || true)
[ -z "$leaked" ] || fail "build-time paths in: $leaked"
expect_file() { [ -f "$1" ] || fail "missing ${1#"$root"}"; }

for exe in vqx16 vqx16-sim; do
  [ -x "$root/usr/bin/$exe" ] || fail "missing executable /usr/bin/$exe"
  expect_file "$share/man/man1/$exe.1.gz"
done
if [ -x "$root/usr/bin/vqx16" ]; then
  unresolved=$(ldd "$root/usr/bin/vqx16" | grep 'not found' || true)
  [ -z "$unresolved" ] || fail "vqx16 has unresolved libraries: $unresolved"
fi
if [ -x "$root/usr/bin/vqx16-sim" ]; then
  "$root/usr/bin/vqx16-sim" --help | grep -q -- '--link' || fail "installed vqx16-sim --help"
fi

# The shipped language files, byte for byte.
for lng in "$src"/lang/*.lng; do
  cmp -s "$lng" "$share/vqx16/lang/$(basename "$lng")" ||
    fail "language file $(basename "$lng") not installed unchanged"
done

# Desktop entry: valid, starts the installed program in the installed language folder, names
# an installed icon.
desktop=$(find "$share/applications" -name '*.desktop' 2>/dev/null | head -n 1)
if [ -z "$desktop" ]; then
  fail "no desktop entry in /usr/share/applications"
else
  desktop-file-validate "$desktop" || fail "desktop-file-validate $(basename "$desktop")"
  key() { sed -n "s/^$1=//p" "$desktop" | head -n 1; }
  [ "$(key Exec)" = vqx16 ] || fail "Exec is '$(key Exec)'"
  [ "$(key Path)" = /usr/share/vqx16/lang ] || fail "Path is '$(key Path)'"
  [ -f "$root$(key Path)/English.lng" ] || fail "no English.lng in the desktop entry's Path"
  icon=$(key Icon)
  for f in scalable/apps/$icon.svg 48x48/apps/$icon.png 256x256/apps/$icon.png; do
    expect_file "$share/icons/hicolor/$f"
  done
fi

# AppStream metadata: valid offline, this version, launches the shipped desktop entry.
metainfo=$(find "$share/metainfo" -name '*.metainfo.xml' 2>/dev/null | head -n 1)
if [ -z "$metainfo" ]; then
  fail "no AppStream metadata in /usr/share/metainfo"
else
  appstreamcli validate --pedantic --no-net "$metainfo" || fail "appstreamcli validate"
  grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo lacks release $version"
  [ -n "$desktop" ] && { grep -q "<launchable type=\"desktop-id\">$(basename "$desktop")<" \
    "$metainfo" || fail "metainfo does not launch $(basename "$desktop")"; }
fi

# Man pages carry the version (lintian has formatted them).
for page in "$share"/man/man1/*.1.gz; do
  zgrep -q "VQX16 $version" "$page" || fail "$(basename "$page") lacks version $version"
done

if [ "$failures" -ne 0 ]; then
  echo "$failures packaging check(s) failed" >&2
  exit 1
fi
echo "$(basename "$deb"): all packaging checks passed"
