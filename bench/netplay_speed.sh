#!/usr/bin/env bash
# How long a minute of online play takes over bad links, against a clean link: two headless
# processes over loopback step 3600 passes each, both sides' links made worse by --net-sim
# (round trip, jitter, loss), and each side's time from the match's start to its last pass is
# read from its timing trace. Also the round trip each side measures on a clean link.
# Usage: bench/netplay_speed.sh [BUILD_DIR] [PASSES]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
passes=${2:-3600}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '5\n1 Enter\n%d Up Num3 Num2\n' $((passes - 6)) >"$work/a.txt"
printf '5\n1 Enter\n%d Left Num3 Num1\n' $((passes - 6)) >"$work/b.txt"
port=$((42000 + RANDOM % 1000))

# One game; prints "seconds waits ping delay" of the slower side.
play() {
  local sim=() delay=()
  [[ $1 != 0,0,0 ]] && sim=(--net-sim "$1")
  [[ -n ${2:-} ]] && delay=(--input-delay "$2")
  port=$((port + 1))
  BRAWL_TIMING=1 "$build/brawl" --headless --app-path "$build" --host "$port" --no-port-mapping "${sim[@]}" "${delay[@]}" \
    --script "$work/a.txt" 2>"$work/host.err" &
  BRAWL_TIMING=1 "$build/brawl" --headless --app-path "$build" --join "127.0.0.1:$port" "${sim[@]}" "${delay[@]}" \
    --script "$work/b.txt" 2>"$work/join.err" || true
  wait
  for side in host join; do
    awk '$3 == "online-running" {start = $4} $3 == "online-done" {done = $4}
         $3 == "net-waits" {waits = $4} $3 == "net-ping-ms" {ping = $4} $3 == "net-delay" {delay = $4}
         END {printf "%.3f %d %d %d\n", done - start, waits, ping, delay}' "$work/$side.err"
  done | sort -n | tail -1
}

clean=$(play 0,0,0 | cut -d' ' -f1)
echo "clean link: ${passes} passes in ${clean} s; round trip measured: $(play 0,0,0 | cut -d' ' -f3) ms"
for link in 100,20,10 200,20,20; do
  read -r seconds waits ping delay < <(play "$link")
  ratio=$(awk -v a="$seconds" -v b="$clean" 'BEGIN {printf "%.3f", a / b}')
  echo "link $link (automatic delay $delay, round trip measured $ping ms): ${seconds} s," \
    "${ratio} times the clean link's; $waits ticks waited to keep in time"
done
