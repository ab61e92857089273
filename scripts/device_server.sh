# SPDX-FileCopyrightText: 2026 VQX16 maintainers
# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
#
# A serial device server for ./run.sh --network and bench.sh: ser2net in front of a simulator's
# line, on a free port of the loopback address. Sourced, not run.

# The ser2net program (Debian puts it in /usr/sbin, which a user's PATH may lack).
vqx16_ser2net() { PATH=$PATH:/usr/sbin:/sbin command -v ser2net; }

# Whether something listens on TCP port $1 of 127.0.0.1.
vqx16_listening() {
  grep -qi "^ *[0-9]*: 0100007F:$(printf '%04X' "$1") 00000000:0000 0A" /proc/net/tcp
}

# The first TCP port from $1 up that no socket of this machine uses now.
vqx16_free_port() {
  local port
  for port in $(seq "$1" $(($1 + 999))); do
    if ! grep -qi ":$(printf '%04X' "$port") " /proc/net/tcp /proc/net/tcp6 2>/dev/null; then
      echo "$port"
      return 0
    fi
  done
  return 1
}

# vqx16_start_ser2net FOLDER LINE MODE PORT: ser2net in the background, serving the serial line
# LINE on 127.0.0.1:PORT raw (MODE tcp) or with RFC 2217 (MODE rfc2217), its configuration and
# log in FOLDER; sets ser2net_pid, and returns once it listens.
vqx16_start_ser2net() {
  local folder=$1 line=$2 mode=$3 port=$4 accepter=tcp
  [ "$mode" = rfc2217 ] && accepter='telnet(rfc2217),tcp'
  printf 'connection: &vqx16\n  accepter: %s,127.0.0.1,%s\n  connector: serialdev(nouucplock),%s,9600n81,local\n' \
    "$accepter" "$port" "$line" >"$folder/ser2net.yaml"
  "$(vqx16_ser2net)" -n -u -c "$folder/ser2net.yaml" >"$folder/ser2net.log" 2>&1 &
  ser2net_pid=$!
  for _ in $(seq 200); do
    vqx16_listening "$port" && return 0
    sleep 0.05
  done
  echo "ser2net did not come up on port $port (log: $folder/ser2net.log)" >&2
  return 1
}
