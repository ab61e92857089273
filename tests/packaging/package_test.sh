#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 VQX16 maintainers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# The Debian package built as the README says (./run.sh package), checked by lintian, then
# unpacked: programs, man pages, language files, desktop entry, AppStream data, icons, depends.
#
#   package_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail

src=$1 build=$2
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
arch=$(dpkg --print-architecture)
deb=$build/vqx16_${version}_${arch}.deb
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

rm -f "$deb"
VQX16_BUILD=$build "$src/run.sh" package >"$root/log" 2>&1 || { cat "$root/log" >&2; exit 1; }
[ -f "$deb" ] || { echo "FAIL: $deb was not built" >&2; exit 1; }

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package) $(field Version) $(field Architecture)" = "vqx16 $version $arch" ] ||
  fail "control data: $(field Package) $(field Version) $(field Architecture)"
for dep in libqt6widgets6 libqt6serialport6 fonts-dejavu-core libc6; do
  [[ ",$(field Depends)," =~ [,\ ]${dep}[\ ,\(] ]] || fail "Depends lacks $dep"
done
# The README's install line resolves on this machine (a dry run).
apt-get install -s "$deb" >/dev/null 2>"$root/apt" || { cat "$root/apt" >&2; fail "apt-get -s"; }
lintian --fail-on error,warning "$deb" || fail "lintian"

dpkg -x "$deb" "$root/deb"
share=$root/deb/usr/share
outside=$(cd "$root/deb" && find . -mindepth 1 -maxdepth 1 ! -name usr)
[ -z "$outside" ] || fail "files outside /usr: $outside"
leaked=$(grep -rlE -- "/usr/local|$build|$src" "$share" || true)
[ -z "$leaked" ] || fail "build-time paths in: $leaked"
for exe in vqx16 vqx16-sim; do
  [ -x "$root/deb/usr/bin/$exe" ] || fail "missing /usr/bin/$exe"
  zgrep -q "VQX16 $version" "$share/man/man1/$exe.1.gz" || fail "man page of $exe, $version"
done
"$root/deb/usr/bin/vqx16-sim" --help | grep -q -- '--link' || fail "installed vqx16-sim --help"
for lng in "$src"/lang/*.lng; do
  cmp -s "$lng" "$share/vqx16/lang/${lng##*/}" || fail "${lng##*/} not installed unchanged"
done

# The desktop entry starts the installed program in the language folder and names the icon;
# the AppStream metadata is valid offline, of this version, and launches that entry.
desktop=$(find "$share/applications" -name '*.desktop' | head -n 1)
metainfo=$(find "$share/metainfo" -name '*.metainfo.xml' | head -n 1)
desktop-file-validate "$desktop" || fail "desktop-file-validate"
key() { sed -n "s/^$1=//p" "$desktop" | head -n 1; }
[ "$(key Exec) $(key Path)" = "vqx16 /usr/share/vqx16/lang" ] ||
  fail "Exec and Path: $(key Exec) $(key Path)"
for f in scalable/apps/$(key Icon).svg {48x48,256x256}/apps/$(key Icon).png; do
  [ -f "$share/icons/hicolor/$f" ] || fail "missing icon $f"
done
appstreamcli validate --pedantic --no-net "$metainfo" || fail "appstreamcli validate"
grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo lacks release $version"
grep -q "<launchable type=\"desktop-id\">${desktop##*/}<" "$metainfo" || fail "metainfo launchable"

[ "$failures" -eq 0 ] || { echo "$failures packaging check(s) failed" >&2; exit 1; }
echo "${deb##*/}: all packaging checks passed"
