#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 VQX16 maintainers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Installs what the program needs, builds it and the simulator, and starts VQX16 connected to
# the device simulator.
#
#   ./run.sh            the program on the simulated device (your own settings untouched)
#   ./run.sh --real     the program with your own settings, on the real device they name
#   ./run.sh --network  the program on the simulated device behind a serial device server
#                       (ser2net, RFC 2217 on the loopback address; your own settings untouched)
#   ./run.sh package    the Debian package build/vqx16_<version>_<architecture>.deb
#
# Without a display the program runs on a virtual X server; a screenshot of its window is
# saved to build/screenshot.png and the program runs until interrupted.
set -euo pipefail
source "$(dirname "$0")/scripts/common.sh"

real=0
[ "${1:-}" = "--real" ] && real=1
network=0
[ "${1:-}" = "--network" ] && network=1

# Only what building and running the program takes; ./test.sh adds the tests' packages.
VQX16_PACKAGES=("${VQX16_RUN_PACKAGES[@]}")
[ $network -eq 0 ] || VQX16_PACKAGES+=(ser2net)
vqx16_install_dependencies
VQX16_TARGETS="vqx16 vqx16-sim" vqx16_build

if [ "${1:-}" = "package" ]; then
  cmake --build "$VQX16_BUILD" --target package
  exit 0
fi

tmp=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Qt keeps its sockets in the user's private runtime folder; a session without one (a console,
# ssh) gets a private one (mode 0700) for this run.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR=$tmp/runtime
  mkdir -m 700 "$XDG_RUNTIME_DIR"
fi

# The panel's D-Bus interface lives on the session bus. A session without one (a console, ssh, a
# container) gets a private bus for this run, and its address for other terminals' scripts.
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] && [ ! -S "$XDG_RUNTIME_DIR/bus" ] &&
  command -v dbus-daemon >/dev/null; then
  export DBUS_SESSION_BUS_ADDRESS=unix:path=$tmp/bus
  dbus-daemon --session --nofork --address="$DBUS_SESSION_BUS_ADDRESS" >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 600); do [ -S "$tmp/bus" ] && break; sleep 0.05; done
  echo "D-Bus session bus of this run: export DBUS_SESSION_BUS_ADDRESS=$DBUS_SESSION_BUS_ADDRESS"
fi

program=$VQX16_BUILD/src/qt/vqx16
lang_dir=$VQX16_ROOT/lang

if [ $real -eq 0 ]; then
  # A private configuration under build/: port 1 is the simulator's line, and the shipped
  # English language file is already chosen.
  run_dir=$VQX16_BUILD/run
  [ $network -eq 0 ] || run_dir=$VQX16_BUILD/run/network
  export XDG_CONFIG_HOME=$run_dir/config
  mkdir -p "$XDG_CONFIG_HOME/VQX16"
  link=$run_dir/ttyVQX16
  "$VQX16_BUILD/tools/sim/vqx16-sim" --link "$link" --log >"$run_dir/sim.out" 2>"$run_dir/sim.log" &
  pids+=($!)
  for _ in $(seq 600); do [ -e "$link" ] && break; sleep 0.05; done
  conf=$XDG_CONFIG_HOME/VQX16/VQX16.conf
  if [ $network -eq 1 ]; then
    # ser2net serves the simulator's line; port 1 is its RFC 2217 address, set anew each run.
    source "$VQX16_ROOT/scripts/device_server.sh"
    port=$(vqx16_free_port 7002)
    vqx16_start_ser2net "$run_dir" "$link" rfc2217 "$port"
    pids+=("$ser2net_pid")
    address=rfc2217://127.0.0.1:$port
    if grep -q '^\[Ports\]' "$conf" 2>/dev/null; then
      sed -i -e '/^\[Ports\]/,/^\[/{/^Com1=/d}' -e "/^\[Ports\]/a Com1=$address" "$conf"
    else
      printf '[Ports]\nCom1=%s\n' "$address" >>"$conf"
    fi
    echo "Device server ser2net (process $ser2net_pid) at $address (log: $run_dir/ser2net.log)"
  elif ! grep -q '^\[Ports\]' "$conf" 2>/dev/null; then
    printf '[Ports]\nCom1=%s\n' "$link" >>"$conf"
  fi
  # No stored position: the program opens centred on the screen, and from then on where the
  # operator leaves it.
  ini=$XDG_CONFIG_HOME/VQX16/VQX.ini
  [ -f "$ini" ] || printf '\r\n\r\n%s\r\n' "$lang_dir/English.lng" >"$ini"
  echo "Simulated device on $link (log: $run_dir/sim.log)"
fi

# The language chooser opens in the program's current folder: the shipped language files.
cd "$lang_dir"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  # The server picks a free display number and writes it once it takes connections.
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$tmp/display" >/dev/null \
    2>"$tmp/xvfb.log" &
  pids+=($!)
  for _ in $(seq 600); do [ -s "$tmp/display" ] && break; sleep 0.05; done
  display=:$(cat "$tmp/display")
  export DISPLAY=$display
  "$program" &
  pids+=($!)
  # The screenshot waits for the panel to be drawn: until then the window is one colour.
  shot=$VQX16_BUILD/screenshot.png
  rm -f "$shot"
  for _ in $(seq 600); do
    if xwd -name VQX16 -silent 2>/dev/null | xwdtopnm >"$tmp/shot.ppm" 2>/dev/null &&
      [ "$(ppmhist -noheader "$tmp/shot.ppm" | wc -l)" -gt 8 ]; then
      pnmtopng "$tmp/shot.ppm" >"$shot" 2>/dev/null
      echo "VQX16 is running on the virtual display $display; screenshot: $shot"
      break
    fi
    sleep 0.1
  done
  if [ ! -s "$shot" ]; then
    echo "VQX16 showed no window within a minute on the virtual display $display"
    sed 's/^/Xvfb: /' "$tmp/xvfb.log"  # why the server went, if it did
  fi
  echo "Press Ctrl+C to stop it."
  wait "${pids[-1]}"
else
  "$program"
fi
