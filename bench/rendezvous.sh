#!/usr/bin/env bash
# The rendezvous in the network lab (tests/lab/lab.sh; root and `ip netns` needed): for each
# way two players meet, the time from the joiner's first request to a way found, and the round
# trip over that way (median of 80 probes, 20 ms apart), over RUNS games each (default 5).
# The relay's added round trip is the relayed median less the punched one: the lab's links add
# next to nothing, so it is the server's own share. The game's own figure, from `--join CODE`
# to the first confirmed frame, takes the same lab: run brawl --headless in place of lab_peer.
# Usage: bench/rendezvous.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-5}
here=$(cd "$(dirname "$0")/.." && pwd)
lab=$here/tests/lab/lab.sh
p=bench$$
work=$(mktemp -d)
server=
trap '[[ -n $server ]] && kill $server; "$lab" down $p; rm -rf "$work"' EXIT
"$lab" up $p
ns() { ip netns exec "$p-$1" "${@:2}"; }
ns srv "$build/brawl-rendezvous" 2>"$work/server.log" &
server=$!
for _ in $(seq 100); do grep -qs listening "$work/server.log" && break; sleep 0.05; done
sed -e 's/^ *//' >"$work/miniupnpd.conf" <<CONF
  ext_ifname=wan
  listening_ip=lan
  http_port=0
  enable_upnp=yes
  enable_natpmp=yes
  secure_mode=yes
  system_uptime=no
  uuid=3b5d1a56-8f6b-4c9e-9a49-6a2f7e0c1b21
  upnp_table_name=filter
  upnp_nat_table_name=filter
  upnp_forward_chain=miniupnpd
  upnp_nat_chain=prerouting_miniupnpd
  upnp_nat_postrouting_chain=postrouting_miniupnpd
  allow 1024-65535 10.1.0.0/24 1024-65535
  deny 0-65535 0.0.0.0/0 0-65535
CONF

port=45000
median() { sort -n | awk '{v[NR] = $1} END {print (NR ? v[int((NR + 1) / 2)] : "-")}'; }
for way in "lan keep hA2" "mapped random hB" "punched keep hB" "punched answering hB" "relayed random hB"; do
  read -r path mode joiner <<<"$way"
  "$lab" router $p rA "$mode"
  "$lab" router $p rB "$mode"
  map=()
  if [[ $path == mapped ]]; then
    ns rA miniupnpd -f "$work/miniupnpd.conf" -d -P "$work/miniupnpd.pid" 2>"$work/miniupnpd.log" &
    map=(--map)
    for _ in $(seq 100); do grep -qs 'Listening for NAT-PMP' "$work/miniupnpd.log" && break; sleep 0.05; done
  fi
  : >"$work/times"
  : >"$work/trips"
  for ((run = 0; run < runs; run++)); do
    port=$((port + 1))
    ns hA1 timeout 30 "$build/tests/lab_peer" host 203.0.113.10 --port $port "${map[@]}" >"$work/host.out" &
    host=$!
    for _ in $(seq 100); do grep -qs '^code' "$work/host.out" && break; sleep 0.05; done
    code=$(awk '/^code/ {print $2}' "$work/host.out")
    ns "$joiner" timeout 30 "$build/tests/lab_peer" join 203.0.113.10 "$code" --port $port --pings 80 \
      >"$work/join.out" || true
    wait $host || true
    got=$(awk '/^connected/ {print $2}' "$work/join.out")
    [[ $got == "$path" ]] || echo "  run $run: joined $got, not $path" >&2
    awk '/^connected/ {print $(NF - 1)}' "$work/join.out" >>"$work/times"
    awk '/^round trip/ {print $3}' "$work/join.out" >>"$work/trips"
  done
  [[ $path == mapped ]] && kill "$(cat "$work/miniupnpd.pid")"
  echo "$path ($mode routers): a way found after $(median <"$work/times") ms," \
    "round trip $(median <"$work/trips") us (medians of $runs games)"
  echo "$path $(median <"$work/trips")" >>"$work/summary"
done
punched=$(awk '$1 == "punched" {print $2; exit}' "$work/summary")
relayed=$(awk '$1 == "relayed" {print $2}' "$work/summary")
echo "the relay adds $((relayed - punched)) us to the round trip"
