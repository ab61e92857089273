# Shared by run.sh and test.sh: install what is missing, configure and build.
# Sourced, not run.

VQX16_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
VQX16_BUILD=${VQX16_BUILD:-$VQX16_ROOT/build}

# Debian packages the build, the tests, the headless run and the Debian package need
# (librsvg2-bin renders the icon's PNGs: packaging/icons/render.sh).
VQX16_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-serialport-dev libgl-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang libclang-rt-14-dev
  fonts-dejavu-core xvfb x11-utils x11-apps netpbm xauth libxcb-cursor0
  desktop-file-utils appstream groff-base librsvg2-bin
)

vqx16_missing_packages() {
  local missing=() p
  for p in "${VQX16_PACKAGES[@]}"; do
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

vqx16_build() {
  local werror=OFF
  [ -n "${CI:-}" ] && werror=ON
  if [ ! -f "$VQX16_BUILD/build.ninja" ]; then
    cmake -S "$VQX16_ROOT" -B "$VQX16_BUILD" -G Ninja -DVQX16_WERROR=$werror "$@"
  fi
  cmake --build "$VQX16_BUILD" -j"$(nproc)"
}
