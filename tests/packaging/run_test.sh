#!/usr/bin/env bash
# Runs the README's ./run.sh and ./run.sh --real as a newcomer on a headless machine would:
# each must bring the window up on a virtual display, save a screenshot that shows it, keep
# running, and stop cleanly (simulator and display gone) when terminated. With --real the
# program must use the user's own settings: its port 1 is mapped to a simulator started here,
# which must see the line opened.
#
#   run_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail

src=$1
build=$2
sim=$build/tools/sim/vqx16-sim
shot=$build/screenshot.png

work=$(mktemp -d)
sim_pid=
run_pid=
cleanup() {
  if [ -n "$run_pid" ]; then kill -TERM "$run_pid" 2>/dev/null || true; fi
  if [ -n "$sim_pid" ]; then kill -TERM "$sim_pid" 2>/dev/null || true; fi
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -f "$work/run.log" ] && sed 's/^/  run.sh: /' "$work/run.log" >&2
  exit 1
}

# Starts ./run.sh with the given arguments, headless, and waits for its screenshot.
start_run() {
  touch "$work/started"
  sleep 1  # the screenshot must be newer than the marker, at the file system's resolution
  env -u DISPLAY -u WAYLAND_DISPLAY VQX16_BUILD="$build" "$src/run.sh" "$@" >"$work/run.log" 2>&1 &
  run_pid=$!
  for _ in $(seq 600); do
    grep -q 'screenshot: ' "$work/run.log" && break
    kill -0 "$run_pid" 2>/dev/null || fail "./run.sh $* ended before its screenshot"
    sleep 0.1
  done
  grep -q "screenshot: $shot" "$work/run.log" || fail "./run.sh $* printed no screenshot path"
  [ "$shot" -nt "$work/started" ] || fail "./run.sh $* did not write $shot"
  # A virtual screen without the window is one colour; the panel has many.
  colours=$(pngtopnm "$shot" | ppmhist -noheader | wc -l)
  [ "$colours" -gt 8 ] || fail "./run.sh $*: the screenshot shows no window ($colours colours)"
  sleep 1
  kill -0 "$run_pid" 2>/dev/null || fail "./run.sh $* stopped instead of running on"
}

# Terminates ./run.sh as Ctrl+C would from a terminal and checks that it ends.
stop_run() {
  kill -TERM "$run_pid"
  set +e
  wait "$run_pid"
  rc=$?
  set -e
  run_pid=
  [ "$rc" -eq 130 ] || fail "./run.sh ended with $rc when stopped, not 130"
}

# 1. ./run.sh: the program on the simulated device, with a private configuration.
start_run
link=$build/run/ttyVQX16
[ -L "$link" ] || fail "./run.sh: no simulator line at $link"
grep -qx "Com1=$link" "$build/run/config/VQX16/VQX16.conf" ||
  fail "./run.sh: port 1 is not mapped to the simulator"
stop_run
[ ! -e "$link" ] || fail "./run.sh left its simulator running"

# 2. ./run.sh --real: the user's own settings, here port 1 on a simulator of our own.
export XDG_CONFIG_HOME=$work/config
mkdir -p "$XDG_CONFIG_HOME/VQX16"
"$sim" --link "$work/tty" --log >/dev/null 2>"$work/sim.log" &
sim_pid=$!
for _ in $(seq 100); do [ -e "$work/tty" ] && break; sleep 0.05; done
[ -e "$work/tty" ] || fail "vqx16-sim made no link"
printf '[Ports]\nCom1=%s\n' "$work/tty" >"$XDG_CONFIG_HOME/VQX16/VQX16.conf"
printf ' 0 \r\n 0 \r\n%s\r\n' "$src/lang/English.lng" >"$XDG_CONFIG_HOME/VQX16/VQX.ini"

start_run --real
for _ in $(seq 50); do grep -q 'line opened' "$work/sim.log" && break; sleep 0.1; done
grep -q 'line opened' "$work/sim.log" ||
  fail "./run.sh --real did not open the port named in the user's settings"
stop_run
grep -q "English.lng" "$XDG_CONFIG_HOME/VQX16/VQX.ini" ||
  fail "./run.sh --real lost the user's language choice"

echo "./run.sh and ./run.sh --real: window up, screenshot taken, stopped cleanly"
