#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 VQX16 maintainers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# The panel on the session bus, as an alarm script drives it: the real program on the simulated
# device and a virtual display, on the private bus of dbus-run-session, heard by a screen reader
# over AT-SPI as the device goes and comes back, called by gdbus and busctl and watched by gdbus
# monitor and dbus-monitor; then a second start with its own settings folders.
#
#   dbus-run-session -- bash tests/qt/e2e/dbus_test.sh VQX16 VQX16-SIM ENGLISH.LNG
set -u
program=$1 simulator=$2 english=$3
work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
fail() {
  echo "FAILED: $*" >&2
  exit 1
}
# Waits for the state, then the caller checks the words; a minute is for a machine at its limit.
wait_for() {
  for _ in $(seq 1200); do
    eval "$1" && return 0
    sleep 0.05
  done
  fail "never came: $1"
}
call() {
  gdbus call --session --dest org.vqx16.vqx16 --object-path /org/vqx16/vqx16 \
    --method "org.vqx16.vqx16.Panel1.$1" "$2"
}
link_open() {
  busctl --user get-property org.vqx16.vqx16 /org/vqx16/vqx16 org.vqx16.vqx16.Panel1 LinkState \
    2>/dev/null | grep -qx 's "open"'
}
commands() { sed -n 's/^vqx16-sim: \(\/[^ ]*\) .*/\1/p' "$work/sim.log" | tr '\n' ' '; }

export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
Xvfb -displayfd 4 -screen 0 1280x800x24 -nolisten tcp 4>"$work/display" 2>/dev/null &
pids+=($!)
wait_for 'grep -q "[0-9]" "$work/display"'
export DISPLAY=:$(cat "$work/display") QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
first=$work/first second=$work/second
mkdir -p "$first/config/VQX16" "$first/state" "$second/config/VQX16" "$second/state"
"$simulator" --link "$work/tty" >/dev/null &
device=$!
pids+=($device)
wait_for '[ -e "$work/tty" ]'
printf '[Ports]\nCom1=%s\n[Log]\nEnabled=true\n' "$work/tty" >"$first/config/VQX16/VQX16.conf"
printf ' 0 \r\n 0 \r\n%s\r\n' "$english" | tee "$first/config/VQX16/VQX.ini" \
  >"$second/config/VQX16/VQX.ini"

gdbus monitor --session --dest org.vqx16.vqx16 >"$work/signals" 2>&1 &
pids+=($!)
dbus-monitor --session "type=method_call,interface=org.vqx16.vqx16.Panel1" >"$work/calls" 2>&1 &
pids+=($!)
wait_for 'grep -q "does not have an owner" "$work/signals" && grep -q NameLost "$work/calls"'
XDG_CONFIG_HOME=$first/config XDG_STATE_HOME=$first/state "$program" 2>"$work/vqx16.log" &
vqx16=$!
pids+=($vqx16)
wait_for link_open
/usr/bin/python3 "$(dirname "$0")/screen_reader_test.py" "$vqx16" "$device" "$work/tty" ||
  fail "the screen reader did not hear the device go"
wait "$device" # its link gone before the next device makes it anew
"$simulator" --link "$work/tty" --log >/dev/null 2>"$work/sim.log" &
pids+=($!)
wait_for link_open
exec 3<"$work/tty" # the line held here too, so that its flags can be read after the program ends

# Camera 5 reaches the device as its command; the device's next frame changes the property,
# and PropertiesChanged says so.
call SelectCamera 5 >/dev/null || fail "SelectCamera 5 refused"
wait_for '[[ $(commands) == "/05 " ]]'
wait_for "grep -q \"{'Camera': <5>}\" \"$work/signals\""
[ "$(busctl --user get-property org.vqx16.vqx16 /org/vqx16/vqx16 org.vqx16.vqx16.Panel1 \
  Camera)" = "i 5" ] || fail "the camera property is not 5"

# An unknown key: its named error, and nothing on the line before the next request's command.
reply=$(call Press "Camera 17" 2>&1) && fail "Camera 17 was pressed"
[[ $reply == *org.vqx16.vqx16.Error.UnknownKey* ]] || fail "unknown key answered: $reply"
call Press "tape" >/dev/null || fail "Press tape refused"
wait_for '[[ $(commands) == "/05 /TP " ]]'

# A second start with settings folders of its own: the first copy is raised, or does the
# request; the second ends with status 0 and writes nothing.
before=$(find "$second" -exec stat -c '%n %s %y' {} + | sort; md5sum "$second"/config/VQX16/VQX.ini)
XDG_CONFIG_HOME=$second/config XDG_STATE_HOME=$second/state "$program" ||
  fail "a second start ended with status $?"
wait_for 'grep -q "member=Activate" "$work/calls"'
XDG_CONFIG_HOME=$second/config XDG_STATE_HOME=$second/state "$program" --camera 7 ||
  fail "a second start with --camera 7 ended with status $?"
wait_for '[[ $(commands) == "/05 /TP /07 " ]]'
after=$(find "$second" -exec stat -c '%n %s %y' {} + | sort; md5sum "$second"/config/VQX16/VQX.ini)
[ "$before" = "$after" ] || fail "the second start wrote: $(diff <(echo "$before") <(echo "$after"))"

# The incident log names who switched: the process and its name, where the bus tells them.
log=$first/state/VQX16/vqx16-$(date +%Y-%m-%d).log
wait_for 'grep -q "camera 7 (D-Bus " "$log" 2>/dev/null'
grep -Eq "out  2F 30 35     camera 5 \(D-Bus :1\.[0-9]+, process [0-9]+ gdbus\)$" "$log" ||
  fail "camera 5 without its caller: $(grep '2F 30 35' "$log")"
grep -Eq "camera 7 \(D-Bus :1\.[0-9]+, process [0-9]+ vqx16\)$" "$log" ||
  fail "camera 7 without the second start: $(grep '2F 30 37' "$log")"

# Frames came every second all along: only the three changes of camera were told (1, 5, 7).
[ "$(grep -c "'Camera'" "$work/signals")" = 3 ] || fail "camera signals: $(cat "$work/signals")"

# A logout, a service manager or Ctrl+C ends the program as Exit does: the port closed first, so
# no lock file is left behind (QSerialPort names it after the path) and the line is no longer
# exclusive (TIOCGEXCL, read on the line held above).
lock=/run/lock/LCK..${work//\//_}_tty
[ -e "$lock" ] || echo "No lock file in /run/lock here: none to see go"
exclusive() { python3 -c 'import fcntl; print(fcntl.ioctl(3, 0x80045440, bytes(4))[0])'; }
[ "$(exclusive)" = 1 ] || fail "the open line is not exclusive"
ended() { [ ! -e "/proc/$vqx16" ] || grep -q zombie "/proc/$vqx16/status"; }
kill -TERM "$vqx16"
wait_for ended
wait "$vqx16" || fail "SIGTERM ended the program with status $?"
[ "$(exclusive)" = 0 ] || fail "the line is still exclusive"
[ ! -e "$lock" ] || fail "the lock file is left behind: $lock"
echo "passed"
