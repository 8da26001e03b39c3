#!/usr/bin/env bash
# Online play between two headless processes over loopback, each side's link made worse by
# --net-sim: the input delay each side chooses from the round trip it measures, and the bytes
# each side sends a second during a match (ENet's own headers included, UDP and IP not).
# Usage: bench/netplay.sh [BUILD_DIR]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Ten seconds of a two-player match with both players moving and firing.
printf '5\n1 Enter\n300 Up Num3 Num2\n300 Left Num3 Num1\n' >"$work/a.txt"
cp "$work/a.txt" "$work/b.txt"
port=$((41000 + RANDOM % 1000))
for rtt in 0 50 100; do
  port=$((port + 1))
  sim=()
  ((rtt > 0)) && sim=(--net-sim "$rtt,0,0")
  BRAWL_TIMING=1 "$build/brawl" --headless --app-path "$build" --host "$port" --no-port-mapping "${sim[@]}" --script "$work/a.txt" \
    2>"$work/host.err" &
  sleep 0.5
  BRAWL_TIMING=1 "$build/brawl" --headless --app-path "$build" --join "127.0.0.1:$port" "${sim[@]}" \
    --script "$work/b.txt" 2>"$work/join.err" || true
  wait
  for side in host join; do
    value() { awk -v what="$1" '$3 == what {print $4}' "$work/$side.err" | tail -1; }
    bytes=$(value net-bytes-sent) frames=$(value net-frames)
    echo "round trip $rtt ms, $side: measured $(value net-ping-ms) ms, input delay $(value net-delay) frames," \
      "$((bytes * 60 / frames)) bytes a second over $frames frames"
  done
done
