# SPDX-FileCopyrightText: 2026 VQX16 maintainers
# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
#
# Shared by run.sh, test.sh and bench.sh: install what is missing, configure and build.
# Sourced, not run.

VQX16_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VQX16_BUILD=${VQX16_BUILD:-$VQX16_ROOT/build}

# Debian packages that building and running the program need, on a virtual display when
# there is no real one (xwd, xwdtopnm and pnmtopng take run.sh's screenshot).
VQX16_RUN_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-serialport-dev fonts-dejavu-core
  xvfb x11-apps netpbm
)
# What the tests and checks add: the test and benchmark libraries, clang with the fuzzer
# runtime, the checkers of the package and its desktop files (librsvg2-bin renders the icon's
# PNGs: packaging/icons/render.sh), and a private session bus with the accessibility bus and its
# Python client, which listen to the program as a screen reader does.
VQX16_TEST_PACKAGES=(
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang libclang-rt-14-dev
  desktop-file-utils appstream lintian librsvg2-bin
  dbus at-spi2-core python3-gi gir1.2-atspi-2.0
  libglib2.0-bin  # gdbus: the D-Bus interface driven as an alarm script drives it
  ser2net  # the serial device server that network ports are tested against
)
# What vqx16_install_dependencies installs; run.sh narrows it to the first list.
VQX16_PACKAGES=("${VQX16_RUN_PACKAGES[@]}" "${VQX16_TEST_PACKAGES[@]}")

# The named packages (by default VQX16_PACKAGES) that are not installed.
vqx16_missing_packages() {
  local missing=() p
  [ $# -gt 0 ] || set -- "${VQX16_PACKAGES[@]}"
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  echo "${missing[@]}"
}

vqx16_install_dependencies() {
  local missing
  missing=$(vqx16_missing_packages)
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Run as root:" >&2
    echo "  apt-get install -y $missing" >&2
    return 1
  fi
  echo "Installing: $missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # shellcheck disable=SC2086
  apt-get install -y -qq --no-install-recommends $missing
}

# Configures $VQX16_BUILD (the arguments go to cmake) and builds every target, or those named
# in VQX16_TARGETS. The test suites are configured where their packages are installed, so a
# tree that ./run.sh began without them gains them at the first ./test.sh.
vqx16_build() {
  local werror=OFF testing=ON
  [ -n "${CI:-}" ] && werror=ON
  [ -z "$(vqx16_missing_packages "${VQX16_TEST_PACKAGES[@]}")" ] || testing=OFF
  if [ ! -f "$VQX16_BUILD/build.ninja" ] ||
    ! grep -qx "BUILD_TESTING:BOOL=$testing" "$VQX16_BUILD/CMakeCache.txt"; then
    cmake -S "$VQX16_ROOT" -B "$VQX16_BUILD" -G Ninja -DVQX16_WERROR=$werror \
      -DBUILD_TESTING=$testing "$@"
  fi
  # shellcheck disable=SC2086
  cmake --build "$VQX16_BUILD" -j"$(nproc)" ${VQX16_TARGETS:+--target $VQX16_TARGETS}
}
