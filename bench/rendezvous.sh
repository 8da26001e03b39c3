#!/usr/bin/env bash
# The real game in the network lab (tests/lab/lab.sh; root and `ip netns` needed), each way two
# players meet: the time from the joiner's start (`--join CODE`, or a bare `--join` on the LAN)
# to its first confirmed frame, and the round trip the joiner's game measured over the way
# (its own clock, to the microsecond), medians of RUNS games each (default 5). The relay's
# added round trip is the relayed median less the punched one: the lab's links add next to
# nothing, so it is the server's own share. Before the punched games, the server is flooded.
# Usage: bench/rendezvous.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-5}
here=$(cd "$(dirname "$0")/.." && pwd)
lab=$here/tests/lab/lab.sh
p=bench$$
work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; "$lab" down $p; rm -rf "$work"' EXIT
"$lab" up $p
# `ip netns exec` becomes the program: $! is its pid.
ip netns exec "$p-srv" "$build/brawl-rendezvous" 2>"$work/server.log" &
pids+=($!)
for _ in $(seq 100); do grep -qs listening "$work/server.log" && break; sleep 0.05; done
miniupnpd_conf() {
  printf '%s\n' ext_ifname=wan listening_ip=lan http_port=0 "enable_upnp=$1" enable_natpmp=yes secure_mode=yes \
    system_uptime=no uuid=3b5d1a56-8f6b-4c9e-9a49-6a2f7e0c1b21 upnp_table_name=filter upnp_nat_table_name=filter \
    upnp_forward_chain=miniupnpd upnp_nat_chain=prerouting_miniupnpd \
    upnp_nat_postrouting_chain=postrouting_miniupnpd "allow 1024-65535 10.1.0.0/24 1024-65535" \
    "deny 0-65535 0.0.0.0/0 0-65535" >"$work/miniupnpd.conf"
}
# Three seconds of a match: the host fires, the joiner stands still.
printf '5\n1 Enter\n174 Num3\n' >"$work/host.txt"
printf '180\n' >"$work/join.txt"
brawl() { # NAMESPACE SIDE OPTION...
  BRAWL_TIMING=1 exec ip netns exec "$p-$1" "$build/brawl" --headless --app-path "$build" --input-delay 2 \
    --script "$work/$2.txt" --dump "$work/$2.jsonl" "${@:3}"
}
median() { sort -n | awk '{v[NR] = $1} END {print (NR ? v[int((NR + 1) / 2)] : "-")}'; }

for way in "direct keep fl hB -" "lan keep hA1 hA2 -" "mapped random hA1 hB UPnP" "mapped random hA1 hB NAT-PMP" \
  "punched answering hA1 hB -" "relayed random hA1 hB -"; do
  read -r path mode host joiner how <<<"$way"
  "$lab" router $p rA "$mode"
  "$lab" router $p rB "$mode"
  daemon=
  if [[ $how != - ]]; then
    miniupnpd_conf "$([[ $how == UPnP ]] && echo yes || echo no)"
    ip netns exec "$p-rA" miniupnpd -f "$work/miniupnpd.conf" -P "$work/miniupnpd.pid" -d 2>"$work/miniupnpd.log" &
    daemon=$!
    for _ in $(seq 100); do grep -qs 'Listening for NAT-PMP' "$work/miniupnpd.log" && break; sleep 0.05; done
  fi
  if [[ $path == punched ]]; then
    # Three seconds of requests that each claim a game, and noise, from the open net: the
    # server's peak memory after them, and the punched games that follow still meet.
    ip netns exec "$p-fl" "$build/tests/lab_flooder" 203.0.113.10 3
    echo "the server's peak memory after the flood: $(awk '/VmHWM/ {print $2}' "/proc/${pids[0]}/status") KiB"
  fi
  : >"$work/times"
  : >"$work/trips"
  for ((run = 0; run < runs; run++)); do
    hosting=(--host) joining=(--join)
    [[ $path == lan ]] || hosting+=(--rendezvous 203.0.113.10)
    (brawl "$host" host "${hosting[@]}" >"$work/host.out" 2>"$work/host.err") &
    pids+=($!)
    if [[ $path == lan ]]; then
      for _ in $(seq 100); do grep -qs 'waiting for' "$work/host.err" && break; sleep 0.05; done
    else
      for _ in $(seq 200); do grep -qs 'game code' "$work/host.out" && break; sleep 0.05; done
      joining+=("$(awk '/game code/ {print $4}' "$work/host.out")" --rendezvous 203.0.113.10)
    fi
    [[ $how == - ]] || grep -q "($how)" "$work/host.out" || echo "  run $run: not mapped by $how" >&2
    start=$(date +%s.%N)
    (brawl "$joiner" join "${joining[@]}" 2>"$work/join.err") ||
      echo "  run $run: the joiner ended badly: $(grep -v timing "$work/join.err" | tail -1)" >&2
    wait "${pids[-1]}" || true
    got=$(grep -o '"Path":"[a-z]*"' "$work/join.jsonl" | tail -1) || true
    [[ $got == "\"Path\":\"$path\"" ]] || echo "  run $run: $got, not $path" >&2
    awk -v start="$start" '$3 == "first-confirmed" {printf "%.0f\n", ($4 - start) * 1000}' "$work/join.err" \
      >>"$work/times"
    awk '$3 == "net-ping-us" {print $4}' "$work/join.err" >>"$work/trips"
  done
  if [[ -n $daemon ]]; then
    kill "$daemon"
    wait "$daemon" 2>/dev/null || true
  fi
  label=$path
  [[ $how == - ]] || label+=" by $how"
  echo "$label ($mode routers): the first confirmed frame $(median <"$work/times") ms after the" \
    "joiner's start, round trip $(median <"$work/trips") us (medians of $runs games)"
  echo "$path $(median <"$work/trips")" >>"$work/summary"
done
punched=$(awk '$1 == "punched" {print $2; exit}' "$work/summary")
relayed=$(awk '$1 == "relayed" {print $2}' "$work/summary")
echo "the relay adds $((relayed - punched)) us to the round trip"
