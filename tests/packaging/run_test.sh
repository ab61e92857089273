#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 VQX16 maintainers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Runs the README's ./run.sh and ./run.sh --real as a newcomer on a headless machine would
# (no display, no XDG_RUNTIME_DIR): each must bring the window up on a virtual display, save a
# screenshot that shows it, open port 1 on a simulator, keep running, and stop cleanly
# (simulator and display gone) when terminated. The demo opens the window centred and logs the
# simulator's commands; with --real the program uses the user's own settings: its port 1 is
# mapped to a simulator started here.
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

# Polls a condition every 0.1 s for at most $1 seconds: bounds are generous, as the machine
# may be loaded.
wait_for() {
  local tenths=$(($1 * 10))
  shift
  for _ in $(seq "$tenths"); do "$@" && return 0; sleep 0.1; done
  "$@"
}
shot_or_ended() { grep -q 'screenshot: ' "$work/run.log" || ! kill -0 "$run_pid" 2>/dev/null; }

# Starts ./run.sh with the given arguments, headless, waits for its screenshot and for the
# program to open port 1 on the simulator that logs to $1.
start_run() {
  local sim_log=$1
  shift
  rm -f "$shot"
  env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR VQX16_BUILD="$build" "$src/run.sh" "$@" \
    >"$work/run.log" 2>&1 &
  run_pid=$!
  wait_for 300 shot_or_ended || true
  grep -q "screenshot: $shot" "$work/run.log" || fail "./run.sh $* printed no screenshot path"
  [ -f "$shot" ] || fail "./run.sh $* did not write $shot"
  # A virtual screen without the window is one colour; the panel has many.
  colours=$(pngtopnm "$shot" | ppmhist -noheader | wc -l)
  [ "$colours" -gt 8 ] || fail "./run.sh $*: the screenshot shows no window ($colours colours)"
  wait_for 120 grep -q 'line opened' "$sim_log" || fail "./run.sh $*: port 1 not opened"
  kill -0 "$run_pid" 2>/dev/null || fail "./run.sh $* stopped instead of running on"
  ! grep -q XDG_RUNTIME_DIR "$work/run.log" || fail "./run.sh $*: Qt found no runtime folder"
}

# Terminates ./run.sh as Ctrl+C would from a terminal and checks that it ends.
stop_run() {
  kill -TERM "$run_pid"
  local rc=0
  wait "$run_pid" || rc=$?
  run_pid=
  [ "$rc" -eq 130 ] || fail "./run.sh ended with $rc when stopped, not 130"
}

# 1. ./run.sh: the program on the simulated device, with a private configuration made afresh.
rm -rf "$build/run/config"
start_run "$build/run/sim.log"
link=$build/run/ttyVQX16
[ -L "$link" ] || fail "./run.sh: no simulator line at $link"
# No stored position on the first run: the program centres the window and then stores where
# it is, away from the screen's top left corner.
ini=$build/run/config/VQX16/VQX.ini
away_from_corner() { [ "$(head -n 2 "$ini" | tr -d '\r ' | grep -cx '[1-9][0-9]*')" -eq 2 ]; }
wait_for 60 away_from_corner || fail "./run.sh: window not centred: $(head -n 2 "$ini" | tr '\r\n' ' ')"
stop_run
[ ! -e "$link" ] || fail "./run.sh left its simulator running"

# 2. ./run.sh --real: the user's own settings, here port 1 on a simulator of our own.
export XDG_CONFIG_HOME=$work/config
mkdir -p "$XDG_CONFIG_HOME/VQX16"
"$sim" --link "$work/tty" --log >/dev/null 2>"$work/sim.log" &
sim_pid=$!
wait_for 60 test -e "$work/tty" || fail "vqx16-sim made no link"
printf '[Ports]\nCom1=%s\n' "$work/tty" >"$XDG_CONFIG_HOME/VQX16/VQX16.conf"
printf ' 0 \r\n 0 \r\n%s\r\n' "$src/lang/English.lng" >"$XDG_CONFIG_HOME/VQX16/VQX.ini"

start_run "$work/sim.log" --real
stop_run
grep -q "English.lng" "$XDG_CONFIG_HOME/VQX16/VQX.ini" ||
  fail "./run.sh --real lost the user's language choice"

echo "./run.sh and ./run.sh --real: window up, screenshot taken, port opened, stopped cleanly"
