#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 VQX16 maintainers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# The README's ./run.sh and ./run.sh --real on a headless machine (no display, no
# XDG_RUNTIME_DIR): the window up with a screenshot, port 1 open on a simulator, a clean stop.
#
#   run_test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail

src=$1 build=$2
shot=$build/screenshot.png
work=$(mktemp -d)
pids=()
cleanup() {
  kill -TERM "${pids[@]}" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  sed 's/^/  run.sh: /' "$work/run.log" >&2 || true
  exit 1
}
# Polls a condition every 0.1 s for at most $1 seconds: generous, as the machine may be loaded.
wait_for() {
  for _ in $(seq $(($1 * 10))); do "${@:2}" && return 0; sleep 0.1; done
  "${@:2}"
}
shot_or_ended() { grep -q 'screenshot: ' "$work/run.log" || ! kill -0 "$run_pid" 2>/dev/null; }

# ./run.sh "$@" headless, its simulator logging to $1, until the screenshot (the panel has many
# colours, an empty screen one) and port 1 are there; then Ctrl+C.
run() {
  local sim_log=$1 && shift
  rm -f "$shot"
  env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR VQX16_BUILD="$build" "$src/run.sh" "$@" \
    >"$work/run.log" 2>&1 &
  run_pid=$!
  pids+=("$run_pid")
  wait_for 300 shot_or_ended || true
  [ -f "$shot" ] && grep -q "screenshot: $shot" "$work/run.log" ||
    fail "./run.sh $*: no screenshot"
  [ "$(pngtopnm "$shot" | ppmhist -noheader | wc -l)" -gt 8 ] || fail "./run.sh $*: no window"
  wait_for 120 grep -q 'line opened' "$sim_log" || fail "./run.sh $*: port 1 not opened"
  ! grep -q XDG_RUNTIME_DIR "$work/run.log" || fail "./run.sh $*: Qt found no runtime folder"
  [ -z "$check" ] || wait_for 60 $check || fail "./run.sh $*: $check"
  kill -TERM "$run_pid"
  local rc=0
  wait "$run_pid" || rc=$?
  [ "$rc" -eq 130 ] || fail "./run.sh $*: ended with $rc when stopped, not 130"
}

# The demo, with a private configuration made afresh: no stored position, so the window opens
# centred and then stores where it is, away from the screen's top left corner; the simulator
# goes with it.
rm -rf "$build/run/config"
ini=$build/run/config/VQX16/VQX.ini
centred() { [ "$(head -n 2 "$ini" | tr -d '\r ' | grep -cx '[1-9][0-9]*')" -eq 2 ]; }
check=centred run "$build/run/sim.log"
[ ! -e "$build/run/ttyVQX16" ] || fail "./run.sh left its simulator running"

# The user's own settings: port 1 on a simulator of our own; the language choice is kept.
export XDG_CONFIG_HOME=$work/config
mkdir -p "$XDG_CONFIG_HOME/VQX16"
"$build/tools/sim/vqx16-sim" --link "$work/tty" --log >/dev/null 2>"$work/sim.log" &
pids+=($!)
wait_for 60 test -e "$work/tty" || fail "vqx16-sim made no link"
printf '[Ports]\nCom1=%s\n' "$work/tty" >"$XDG_CONFIG_HOME/VQX16/VQX16.conf"
printf ' 0 \r\n 0 \r\n%s\r\n' "$src/lang/English.lng" >"$XDG_CONFIG_HOME/VQX16/VQX.ini"
check= run "$work/sim.log" --real
grep -q "English.lng" "$XDG_CONFIG_HOME/VQX16/VQX.ini" || fail "--real lost the language choice"
echo "./run.sh and ./run.sh --real: window up, screenshot taken, port opened, stopped cleanly"
