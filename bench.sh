#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 VQX16 maintainers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds VQX16 in release mode (build-release/) and prints one table of its figures, each the
# median of several runs, beside those of cutecom, a general-purpose serial terminal measured
# in the same run on the same (virtual) display.
#
#   ./bench.sh
#
# Environment: BENCH_RUNS (start-time runs, default 7), BENCH_IDLE_SECONDS (default 20),
# BENCH_IDLE_RUNS (default 3).
set -euo pipefail
source "$(dirname "$0")/scripts/common.sh"
source "$VQX16_ROOT/scripts/bench_lib.sh"
source "$VQX16_ROOT/scripts/device_server.sh"

VQX16_PACKAGES+=(libx11-dev cutecom x11-utils)
vqx16_install_dependencies

build=$VQX16_ROOT/build-release
runs=${BENCH_RUNS:-7}
idle_seconds=${BENCH_IDLE_SECONDS:-20}
idle_runs=${BENCH_IDLE_RUNS:-3}

echo "Building in release mode ($build)" >&2
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$VQX16_ROOT" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVQX16_BENCH=ON \
    >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target vqx16 vqx16-sim bench_status bench_panel \
  bench_panel_repeat bench_click_latency bench_flood bench_traffic wait_mapped >/dev/null

# The D-Bus interface's benchmark (bench/bench_dbus.cpp).
cmake --build "$build" -j"$(nproc)" --target bench_dbus >/dev/null

program=$build/src/qt/vqx16
sim=$build/tools/sim/vqx16-sim
wait_mapped=$build/bench/wait_mapped
cutecom=$(command -v cutecom)

work=$(mktemp -d)
bench_pids=()
cleanup() {
  local pid
  for pid in "${bench_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A virtual display unless there is a real one.
if [ -z "${DISPLAY:-}" ]; then
  export DISPLAY=:$((200 + RANDOM % 100))
  Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  bench_pids+=($!)
  for _ in $(seq 200); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
  display_kind="Xvfb"
else
  display_kind="display $DISPLAY"
fi
unset QT_QPA_PLATFORM
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
# VQX16 offers its D-Bus interface throughout, on a private session bus: every figure is taken
# with the service registered.
export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/bus
dbus-daemon --session --nofork --address="$DBUS_SESSION_BUS_ADDRESS" >/dev/null 2>&1 &
bench_pids+=($!)
for _ in $(seq 200); do [ -S "$work/bus" ] && break; sleep 0.05; done

# A private configuration like run.sh's: port 1 is a simulator's line, English texts chosen.
# $1: folder, $2: extra simulator options.
prepare_config() {
  local dir=$1 link=$1/ttyVQX16
  shift
  mkdir -p "$dir/VQX16"
  "$sim" --link "$link" "$@" >/dev/null 2>"$dir/sim.log" &
  bench_pids+=($!)
  for _ in $(seq 100); do [ -e "$link" ] && break; sleep 0.05; done
  printf '[Ports]\nCom1=%s\n' "$link" >"$dir/VQX16/VQX16.conf"
  printf ' 0 \r\n 0 \r\n%s\r\n' "$VQX16_ROOT/lang/English.lng" >"$dir/VQX16/VQX.ini"
}
prepare_config "$work/idle"
prepare_config "$work/busy" --rate 100
# The same behind a device server: ser2net serves the simulator's line, port 1 is its RFC 2217
# address.
prepare_config "$work/idle-network"
network_port=$(vqx16_free_port 7100)
vqx16_start_ser2net "$work/idle-network" "$work/idle-network/ttyVQX16" rfc2217 "$network_port"
bench_pids+=("$ser2net_pid")
printf '[Ports]\nCom1=rfc2217://127.0.0.1:%s\n' "$network_port" >"$work/idle-network/VQX16/VQX16.conf"
mkdir -p "$work/cutecom"
export XDG_CONFIG_HOME=$work/idle
cd "$VQX16_ROOT/lang"

echo "Measuring (about 3 minutes)" >&2

# --- core -----------------------------------------------------------------------------------
frames_handler=$(core_rate "$build/bench/bench_status" BM_CommHandlerOneFramePerEvent items_per_second)
frames_decoder=$(core_rate "$build/bench/bench_status" BM_DecodeFrame items_per_second)
commands_camera=$(core_rate "$build/bench/bench_panel" BM_CameraClicks commands/s)
commands_mixed=$(core_rate "$build/bench/bench_panel" BM_MixedKeys commands/s)

# --- start time and memory, alternating the two programs run by run --------------------------
v_start=() v_rss=() v_hwm=() c_start=() c_rss=() c_hwm=()
start_once "$program" VQX16 "$work/idle" >/dev/null  # warm the caches, not counted
start_once "$cutecom" "CuteCom -" "$work/cutecom" >/dev/null
for _ in $(seq "$runs"); do
  read -r ms rss hwm < <(start_once "$program" VQX16 "$work/idle")
  v_start+=("$ms") v_rss+=("$rss") v_hwm+=("$hwm")
  read -r ms rss hwm < <(start_once "$cutecom" "CuteCom -" "$work/cutecom")
  c_start+=("$ms") c_rss+=("$rss") c_hwm+=("$hwm")
done

# --- idle: both programs side by side, VQX16 with its port open ------------------------------
v_idle=() v_wake=() c_idle=() c_wake=()
for _ in $(seq "$idle_runs"); do
  read -r cpu wake cpu2 wake2 < <(idle_pair "$idle_seconds")
  v_idle+=("$cpu") v_wake+=("$wake") c_idle+=("$cpu2") c_wake+=("$wake2")
done

# --- idle with the port on the device server ------------------------------------------------
n_idle=() n_wake=()
for _ in $(seq "$idle_runs"); do
  read -r cpu wake < <(idle_alone "$work/idle-network" "$idle_seconds")
  n_idle+=("$cpu") n_wake+=("$wake")
done

# --- receiving 100 frames a second -----------------------------------------------------------
v_busy=()
for _ in 1 2 3; do v_busy+=("$(busy_cpu "$work/busy" 10)"); done

# --- click-to-wire latency and held-key repeat rate ------------------------------------------
# through_ser2net MODE: "<median us> <p99 us>" of the clicks through ser2net in MODE.
through_ser2net() {
  QT_QPA_PLATFORM=offscreen "$build/bench/bench_click_latency" 500 "$1" "$(vqx16_ser2net)" |
    sed -n 's/.*median \([0-9.]*\) us, p99 \([0-9.]*\) us.*/\1 \2/p'
}
l_median=() l_p99=() tcp_median=() tcp_p99=() rfc2217_median=() rfc2217_p99=()
for _ in 1 2 3; do
  # Offscreen: under X, QTest itself spends about 0.3 ms delivering each synthetic click.
  line=$(QT_QPA_PLATFORM=offscreen "$build/bench/bench_click_latency" 500)
  l_median+=("$(sed -n 's/.*median \([0-9.]*\) us.*/\1/p' <<<"$line")")
  l_p99+=("$(sed -n 's/.*p99 \([0-9.]*\) us.*/\1/p' <<<"$line")")
  # The same through ser2net on the loopback address, to the byte at the device, in both modes.
  read -r m p < <(through_ser2net tcp)
  tcp_median+=("$m") tcp_p99+=("$p")
  read -r m p < <(through_ser2net rfc2217)
  rfc2217_median+=("$m") rfc2217_p99+=("$p")
done
repeat=()
for _ in 1 2 3; do
  line=$("$build/bench/bench_panel_repeat")
  repeat+=("$(sed -n 's/.*commands, \([0-9.]*\) repeats.*/\1/p' <<<"$line")")
done

# --- a flood of random bytes on the line ----------------------------------------------------
flood=$(QT_QPA_PLATFORM=offscreen "$build/bench/bench_flood")

# --- a D-Bus call to the line, and a flood of calls ------------------------------------------
d_median=()
for _ in 1 2 3; do
  line=$("$build/bench/bench_dbus" "$program" 300)
  d_median+=("$(sed -n 's/.*median \([0-9.]*\) ms.*/\1/p' <<<"$line")")
  dbus_flood=$(tail -1 <<<"$line")
done

# --- the traffic monitor and the incident log at 100 frames/s, and a day of the log ----------
t_off=() t_mon=() t_log=()
for _ in $(seq "$idle_runs"); do
  out=$(QT_QPA_PLATFORM=offscreen "$build/bench/bench_traffic" "$sim" $((idle_seconds / 2 + 1)))
  read -r a b c <<<"$(sed -n 1p <<<"$out" | grep -o '[0-9.]* %' | tr -d ' %' | tr '\n' ' ')"
  t_off+=("$a") t_mon+=("$b") t_log+=("$c")
  day=$(tail -1 <<<"$out")
done

# --- the table -------------------------------------------------------------------------------
vs=$(median "${v_start[@]}") cs=$(median "${c_start[@]}")
vr=$(median "${v_rss[@]}") cr=$(median "${c_rss[@]}")
vh=$(median "${v_hwm[@]}") ch=$(median "${c_hwm[@]}")
vi=$(median "${v_idle[@]}") ci=$(median "${c_idle[@]}")
vw=$(median "${v_wake[@]}") cw=$(median "${c_wake[@]}")

echo
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $(uname -sr), $display_kind; Qt $(qtpaths6 --qt-version 2>/dev/null || echo 6), cutecom $(dpkg-query -W -f='${Version}' cutecom 2>/dev/null)"
echo "Medians: start and memory of $runs runs each, idle of $idle_runs runs of $idle_seconds s, the rest of 3 runs."
echo
printf '| %-52s | %12s | %12s | %7s | %9s |\n' "Figure" "VQX16" "cutecom" "ratio" "aim"
printf '|%s|%s|%s|%s|%s|\n' "$(dashes 54)" "$(dashes 14)" "$(dashes 14)" "$(dashes 9)" "$(dashes 11)"
row() { printf '| %-52s | %12s | %12s | %7s | %9s |\n' "$@"; }
row "Start to window mapped (ms)" "$(fmt 1 "$vs")" "$(fmt 1 "$cs")" "$(ratio "$vs" "$cs")" "<= 50"
row "Resident memory 1 s after start, VmRSS (MB)" "$(fmt 1 "$vr")" "$(fmt 1 "$cr")" "$(ratio "$vr" "$cr")" ""
row "Peak resident memory, VmHWM (MB)" "$(fmt 1 "$vh")" "$(fmt 1 "$ch")" "$(ratio "$vh" "$ch")" "<= 35"
row "Idle CPU over ${idle_seconds} s (% of a core)" "$(fmt 3 "$vi")" "$(fmt 3 "$ci")" "$(ratio "$vi" "$ci")" "<= 0.05"
row "Idle wakeups per second" "$(fmt 1 "$vw")" "$(fmt 1 "$cw")" "$(ratio "$vw" "$cw")" ""
row "Click-to-wire latency, median (ms)" "$(fmt 3 "$(scale "$(median "${l_median[@]}")" 0.001)")" "" "" "<= 0.150"
row "Click-to-wire latency, 99th percentile (ms)" "$(fmt 3 "$(scale "$(median "${l_p99[@]}")" 0.001)")" "" "" ""
row "D-Bus SelectCamera to last byte on the line, median (ms)" "$(fmt 3 "$(median "${d_median[@]}")")" "" "" "<= 2"
row "Click to the device via ser2net, raw, median (ms)" "$(fmt 3 "$(scale "$(median "${tcp_median[@]}")" 0.001)")" "" "" "<= +1"
row "Click to the device via ser2net, RFC 2217, median (ms)" "$(fmt 3 "$(scale "$(median "${rfc2217_median[@]}")" 0.001)")" "" "" "<= +1"
row "Idle CPU, port on ser2net, RFC 2217 (% of a core)" "$(fmt 3 "$(median "${n_idle[@]}")")" "" "" "<= 0.05"
row "Idle wakeups per second, port on ser2net" "$(fmt 1 "$(median "${n_wake[@]}")")" "" "" "<= 3"
row "Held key repeat rate (per s)" "$(fmt 1 "$(median "${repeat[@]}")")" "" "" "200"
row "CPU receiving 100 frames/s (% of a core)" "$(fmt 2 "$(median "${v_busy[@]}")")" "" "" ""
row "CPU at 100 frames/s, traffic monitor open (% of a core)" "$(fmt 2 "$(median "${t_mon[@]}")")" "" "" "< 3"
row "CPU at 100 frames/s, incident log on (% of a core)" "$(fmt 2 "$(median "${t_log[@]}")")" "" "" "< 1.5"
row "Core: frames through the receive handler per s" "$(si "$frames_handler")" "" "" ""
row "Core: frames decoded per s (decoder alone)" "$(si "$frames_decoder")" "" "" ""
row "Core: commands encoded per s (camera clicks)" "$(si "$commands_camera")" "" "" ""
row "Core: commands encoded per s (mixed keys)" "$(si "$commands_mixed")" "" "" ""
echo
echo "Flood: $flood"
echo "D-Bus: $dbus_flood"
echo "Incident log: $day"
echo "Traffic figures measured in-process on Qt's offscreen platform, beside $(fmt 2 "$(median "${t_off[@]}")") % with both off."
echo "VQX16's port is open on vqx16-sim throughout; cutecom runs with its defaults (no port open)."
echo "VQX16 offers its D-Bus interface on a private session bus throughout; nobody calls it but bench_dbus."
echo "Through ser2net 99th percentile: raw $(fmt 3 "$(scale "$(median "${tcp_p99[@]}")" 0.001)") ms, RFC 2217 $(fmt 3 "$(scale "$(median "${rfc2217_p99[@]}")" 0.001)") ms; the aim: medians at most 1 ms above the direct line's."
