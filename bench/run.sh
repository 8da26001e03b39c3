#!/usr/bin/env bash
# Every benchmark of the project, one after the other: the Google Benchmark programs built
# into BUILD_DIR/bench, then the start-up, memory, full-screen and processor-time figures of
# the real game under Xvfb.
# Usage: bench/run.sh [BUILD_DIR]   (build first: bash tools/setup.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)

echo "# $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)"
for program in "$build"/bench/bench_*; do
  echo
  echo "## $(basename "$program")"
  (cd "$build" && "$program" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true)
done
echo
echo "## start-up and memory"
python3 bench/startup.py "$build" 7
echo
echo "## full screen and window"
bash bench/fullscreen_toggle.sh "$build" 10
echo
echo "## processor time"
bash bench/cpu_use.sh "$build"
echo
echo "## online play"
bash bench/netplay.sh "$build"
