# SPDX-FileCopyrightText: 2026 VQX16 maintainers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Measuring helpers of bench.sh. Sourced, not run. They use bench.sh's variables $work and
# $wait_mapped.

# Median of numbers.
median() {
  printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END {
    if (NR == 0) { print "nan"; exit }
    if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# fmt DECIMALS NUMBER
fmt() { awk -v d="$1" -v x="$2" 'BEGIN { if (x == "" || x == "nan") print "n/a"; else printf "%.*f\n", d, x }'; }
# ratio A B: A / B
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b + 0 == 0) print "n/a"; else printf "%.2f\n", a / b }'; }
# scale NUMBER FACTOR
scale() { awk -v x="$1" -v f="$2" 'BEGIN { print x * f }'; }
# A rate with a unit prefix: 12.3 M.
si() {
  awk -v x="$1" 'BEGIN {
    if (x >= 1e9) printf "%.2f G\n", x / 1e9; else if (x >= 1e6) printf "%.2f M\n", x / 1e6;
    else if (x >= 1e3) printf "%.2f k\n", x / 1e3; else printf "%.0f\n", x }'
}
dashes() { printf '%*s' "$1" '' | tr ' ' '-'; }

# core_rate PROGRAM BENCHMARK COLUMN: the median over 5 repetitions of one Google Benchmark
# figure (items_per_second or a counter such as commands/s).
core_rate() {
  "$1" --benchmark_filter="^$2\$" --benchmark_repetitions=5 --benchmark_min_time=0.2 \
    --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
    awk -F, -v want="$2_median" -v column="$3" '
      /^name,/ { for (i = 1; i <= NF; i++) { h = $i; gsub(/"/, "", h); col[h] = i }; next }
      { n = $1; gsub(/"/, "", n); if (n == want) print $col[column] }'
}

# Processor time (ns) and context switches (voluntary + involuntary) of a process, summed over
# its threads: "<ns> <switches>".
process_sample() {
  local pid=$1 task ns=0 sw=0 t v n
  for task in /proc/"$pid"/task/*; do
    read -r t _ <"$task/schedstat" 2>/dev/null || continue
    v=$(awk '/^voluntary_ctxt_switches/ { print $2 }' "$task/status" 2>/dev/null || echo 0)
    n=$(awk '/^nonvoluntary_ctxt_switches/ { print $2 }' "$task/status" 2>/dev/null || echo 0)
    ns=$((ns + t)) sw=$((sw + ${v:-0} + ${n:-0}))
  done
  echo "$ns $sw"
}

# Starts a program under wait_mapped in the background with XDG_CONFIG_HOME=$3 and waits for
# its window titled $2: sets started_pid (the program), started_parent (wait_mapped) and
# started_ms (start to map).
launch() {
  local program=$1 title=$2 conf=$3 out
  out=$(mktemp -p "$work")
  XDG_CONFIG_HOME=$conf "$wait_mapped" --timeout 20000 "$title" "$program" >"$out" 2>/dev/null &
  started_parent=$!
  for _ in $(seq 1000); do
    [ -s "$out" ] && break
    kill -0 "$started_parent" 2>/dev/null || break
    sleep 0.025
  done
  started_ms='' started_pid=''
  read -r started_ms started_pid <"$out" || true
  rm -f "$out"
  if [ -z "$started_pid" ]; then
    echo "bench: $program showed no window titled $title" >&2
    return 1
  fi
}

# Ends what launch started.
finish() {
  kill "$started_pid" 2>/dev/null || true
  wait "$started_parent" 2>/dev/null || true
}

# start_once PROGRAM TITLE CONFIG: "<ms to map> <VmRSS MB 1 s later> <VmHWM MB>"
start_once() {
  launch "$@" || return 1
  sleep 1
  local rss hwm
  rss=$(awk '/^VmRSS/ { print $2 / 1024 }' /proc/"$started_pid"/status)
  hwm=$(awk '/^VmHWM/ { print $2 / 1024 }' /proc/"$started_pid"/status)
  finish
  echo "$started_ms $rss $hwm"
}

# usage_over PID SECONDS: "<% of a core> <switches per second>" over the next SECONDS.
usage_over() {
  local pid=$1 seconds=$2 a b
  a=$(process_sample "$pid")
  sleep "$seconds"
  b=$(process_sample "$pid")
  awk -v a="$a" -v b="$b" -v s="$seconds" 'BEGIN {
    split(a, x, " "); split(b, y, " ");
    printf "%.4f %.2f\n", (y[1] - x[1]) / 1e9 / s * 100, (y[2] - x[2]) / s }'
}

# idle_pair SECONDS: VQX16 (port open on the idle simulator) and cutecom, both started and
# settled, measured over the same SECONDS: "<vqx16 cpu%> <wakeups/s> <cutecom cpu%> <wakeups/s>"
idle_pair() {
  local seconds=$1 v_pid v_parent c_pid c_parent a b
  launch "$program" VQX16 "$work/idle" || return 1
  v_pid=$started_pid v_parent=$started_parent
  launch "$cutecom" "CuteCom -" "$work/cutecom" || return 1
  c_pid=$started_pid c_parent=$started_parent
  sleep 2
  a=$(process_sample "$v_pid") b=$(process_sample "$c_pid")
  sleep "$seconds"
  local a2 b2
  a2=$(process_sample "$v_pid") b2=$(process_sample "$c_pid")
  kill "$v_pid" "$c_pid" 2>/dev/null || true
  wait "$v_parent" "$c_parent" 2>/dev/null || true
  awk -v a="$a" -v a2="$a2" -v b="$b" -v b2="$b2" -v s="$seconds" 'BEGIN {
    split(a, x, " "); split(a2, y, " "); split(b, p, " "); split(b2, q, " ");
    printf "%.4f %.2f %.4f %.2f\n", (y[1] - x[1]) / 1e9 / s * 100, (y[2] - x[2]) / s,
      (q[1] - p[1]) / 1e9 / s * 100, (q[2] - p[2]) / s }'
}

# busy_cpu CONFIG SECONDS: % of a core VQX16 uses while its simulator sends frames.
busy_cpu() {
  launch "$program" VQX16 "$1" || return 1
  sleep 2
  local figures
  figures=$(usage_over "$started_pid" "$2")
  finish
  echo "${figures%% *}"
}

# idle_alone CONFIG SECONDS: VQX16 alone, started and settled, measured over the next SECONDS:
# "<% of a core> <wakeups per second>".
idle_alone() {
  launch "$program" VQX16 "$1" || return 1
  sleep 2
  local figures
  figures=$(usage_over "$started_pid" "$2")
  finish
  echo "$figures"
}
