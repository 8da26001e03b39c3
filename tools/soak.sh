#!/usr/bin/env bash
# A long headless run of random play at 640 x 480 in each mode: it must end with status 0,
# every dump line must hold finite values only, and memory must stay flat: the peak resident
# size of the whole run may exceed that of a run of its first tenth by a small margin only.
#
#   SOAK_PASSES      passes of each long run (default 216000: one hour of play at 60 Hz)
#   SOAK_BUILD       the build folder whose brawl and data files are used (default build)
#   SOAK_SEED        seed of the random scripts (default 7)
#   SOAK_MARGIN_KB   growth allowed on top of 1 % of the short run's peak (default 1024)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
passes=${SOAK_PASSES:-216000}
build=$(realpath "${SOAK_BUILD:-build}")
seed=${SOAK_SEED:-7}
margin_kb=${SOAK_MARGIN_KB:-1024}
short=$((passes / 10))
brawl=$build/brawl
[[ -x $brawl ]] || { echo "soak: no brawl in $build (build it first)"; exit 1; }
[[ -x /usr/bin/time ]] || { echo "soak: /usr/bin/time is missing (Debian package time)"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs brawl on a script; prints its peak resident size in KiB. The dump streams through the
# checker, so a run of hours stores nothing.
run() {
  local script=$1 count=$2 modes=$3 status=0
  /usr/bin/time -f '%M' -o "$work/rss.txt" \
    "$brawl" --headless --hires --app-path "$build" --script "$script" --dump /dev/stdout \
    2>"$work/stderr.txt" |
    python3 "$root/tools/check_dump.py" --expect-passes "$count" --expect-modes "$modes" >"$work/check.txt" ||
    status=$?
  if ((status != 0)); then
    echo "FAILED: modes $modes, $count passes, exit status $status" >&2
    cat "$work/check.txt" "$work/stderr.txt" "$work/rss.txt" >&2
    return 1
  fi
  cat "$work/check.txt" >&2
  tail -n 1 "$work/rss.txt"
}

failed=0
for mode in 1 2; do
  # The short script is the long one's beginning: same seed, cut at a tenth.
  python3 tools/random_script.py --seed "$seed" --mode "$mode" --passes "$passes" >"$work/long.txt"
  python3 tools/random_script.py --seed "$seed" --mode "$mode" --passes "$short" >"$work/short.txt"
  started=$SECONDS
  # The long run must have finished matches, not only started them.
  short_kb=$(run "$work/short.txt" "$short" "$mode") || { failed=1; continue; }
  long_kb=$(run "$work/long.txt" "$passes" "$mode,3") || { failed=1; continue; }
  allowed=$((short_kb + short_kb / 100 + margin_kb))
  verdict=ok
  ((long_kb <= allowed)) || { verdict=FAILED; failed=1; }
  echo "$verdict: mode $mode, seed $seed: peak RSS ${short_kb} KiB after $short passes," \
    "${long_kb} KiB after $passes (at most $allowed allowed); $((SECONDS - started)) s"
  seed=$((seed + 1))
done
exit "$failed"
