#!/usr/bin/env bash
# Installs what is missing, builds, and starts VQX16 connected to the device simulator.
#
#   ./run.sh            the program on the simulated device (your own settings untouched)
#   ./run.sh --real     the program with your own settings, on the real device they name
#   ./run.sh package    the Debian package build/vqx16_<version>_amd64.deb
#
# Without a display the program runs on a virtual X server; a screenshot of its window is
# saved to build/screenshot.png and the program runs until interrupted.
set -euo pipefail
source "$(dirname "$0")/scripts/common.sh"

real=0
[ "${1:-}" = "--real" ] && real=1

vqx16_install_dependencies
vqx16_build

if [ "${1:-}" = "package" ]; then
  cmake --build "$VQX16_BUILD" --target package
  exit 0
fi

pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap cleanup EXIT
trap 'exit 130' INT TERM

program=$VQX16_BUILD/src/qt/vqx16
lang_dir=$VQX16_ROOT/lang

if [ $real -eq 0 ]; then
  # A private configuration under build/: port 1 is the simulator's line, and the shipped
  # English language file is already chosen.
  run_dir=$VQX16_BUILD/run
  export XDG_CONFIG_HOME=$run_dir/config
  mkdir -p "$XDG_CONFIG_HOME/VQX16"
  link=$run_dir/ttyVQX16
  "$VQX16_BUILD/tools/sim/vqx16-sim" --link "$link" >"$run_dir/sim.out" 2>"$run_dir/sim.log" &
  pids+=($!)
  for _ in $(seq 100); do [ -e "$link" ] && break; sleep 0.05; done
  conf=$XDG_CONFIG_HOME/VQX16/VQX16.conf
  if ! grep -q '^\[Ports\]' "$conf" 2>/dev/null; then
    printf '[Ports]\nCom1=%s\n' "$link" >>"$conf"
  fi
  ini=$XDG_CONFIG_HOME/VQX16/VQX.ini
  [ -f "$ini" ] || printf ' 0 \r\n 0 \r\n%s\r\n' "$lang_dir/English.lng" >"$ini"
  echo "Simulated device on $link (log: $run_dir/sim.log)"
fi

# The language chooser opens in the program's current folder: the shipped language files.
cd "$lang_dir"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  display=:$((90 + RANDOM % 100))
  Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  export DISPLAY=$display
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
  "$program" &
  pids+=($!)
  for _ in $(seq 200); do
    xwininfo -root -tree 2>/dev/null | grep -q '"VQX16"' && break
    sleep 0.05
  done
  sleep 0.5
  shot=$VQX16_BUILD/screenshot.png
  xwd -name VQX16 -silent | xwdtopnm 2>/dev/null | pnmtopng >"$shot"
  echo "VQX16 is running on the virtual display $display; screenshot: $shot"
  echo "Press Ctrl+C to stop it."
  wait "${pids[-1]}"
else
  "$program"
fi
