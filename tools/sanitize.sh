#!/usr/bin/env bash
# Builds the game and its tests with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan/, runs the whole test suite there (the tests then spawn the sanitized brawl),
# then long headless runs of random play in both modes at both sizes. Any report fails.
#
#   SANITIZE_PASSES   passes of each headless run (default 20000)
#   SANITIZE_SEED     seed of the random scripts (default 1)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build-asan
passes=${SANITIZE_PASSES:-20000}
seed=${SANITIZE_SEED:-1}
jobs=$(nproc)

# -O1 keeps the stacks readable and the runs quick enough; asserts stay on.
cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=g++ -DBRAWL_SANITIZE=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" >/dev/null
# The game, its data files and the test programs; the benchmarks are not run here.
mapfile -t test_targets < <(ninja -C "$build" -t targets all | sed -n 's/^\(test_[A-Za-z0-9_]*\): phony$/\1/p')
cmake --build "$build" -j"$jobs" --target brawl assets translations "${test_targets[@]}"

export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1:suppressions=$root/tools/asan.supp
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Leaks inside GTK, fontconfig and SDL's system libraries only; never our own code.
export LSAN_OPTIONS=suppressions=$root/tools/lsan.supp:print_suppressions=0
# GDK would open GLX through Mesa when it opens the display, and Mesa keeps a buffer until
# exit that LeakSanitizer cannot attribute (its stack ends in the sanitizer runtime). Nothing
# of ours draws with GTK's GL, so it stays off here (docs/proof.md).
export GDK_GL=disable

echo "--- the test suite, sanitized"
ctest --test-dir "$build" --output-on-failure -j"$jobs" --timeout 900 -LE e2e
# The real game in real windows draws through the system's GL, and Mesa keeps buffers from
# libraries it unloads before exit, which LeakSanitizer can only call "<unknown module>": the
# end-to-end runs are checked for every fault but leaks (docs/proof.md).
ASAN_OPTIONS=$ASAN_OPTIONS:detect_leaks=0 ctest --test-dir "$build" --output-on-failure -j"$jobs" --timeout 900 -L e2e

echo "--- random play, sanitized: $passes passes each"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
for mode in 1 2; do
  for size in lores hires; do
    flags=(--headless --app-path "$build" --script "$work/script.txt" --dump /dev/stdout)
    [[ $size == hires ]] && flags+=(--hires)
    python3 tools/random_script.py --seed "$seed" --passes "$passes" --mode "$mode" >"$work/script.txt"
    status=0
    "$build/brawl" "${flags[@]}" 2>"$work/stderr.txt" |
      python3 tools/check_dump.py --expect-passes "$passes" --expect-modes "$mode" || status=$?
    if ((status != 0)) || grep -qE 'Sanitizer|runtime error:' "$work/stderr.txt"; then
      echo "FAILED: mode $mode, $size, seed $seed (exit status $status); the script: tools/random_script.py" \
        "--seed $seed --passes $passes --mode $mode"
      cat "$work/stderr.txt"
      failed=1
    else
      echo "ok: mode $mode, $size"
    fi
    seed=$((seed + 1))
  done
done
exit "$failed"
