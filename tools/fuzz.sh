#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/<name>_fuzz.cpp, target fuzz_<name>) with clang into
# build-fuzz/ and runs each for FUZZ_SECONDS (default 60), starting from its seeds in
# fuzz/corpus/<name>/. Fails on any finding: the input is kept under build-fuzz/findings/ and
# printed in base64.
#
#   FUZZ_SECONDS   time per target (default 60)
#   FUZZ_TARGETS   space-separated names to run, e.g. "wave xfile" (default: all)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build-fuzz
seconds=${FUZZ_SECONDS:-60}

# Only the readers are built (fuzz/CMakeLists.txt instruments them). Warnings are not errors
# here: clang's differ from the compiler of record's.
cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DBRAWL_FUZZ=ON -DBRAWL_WERROR=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" -DCMAKE_CXX_FLAGS= >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzz_targets

if [[ -n ${FUZZ_TARGETS:-} ]]; then
  read -r -a targets <<<"$FUZZ_TARGETS"
else
  targets=()
  for source in fuzz/*_fuzz.cpp; do
    name=$(basename "$source" .cpp)
    targets+=("${name%_fuzz}")
  done
fi

export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

failed=()
for name in "${targets[@]}"; do
  target=fuzz_$name
  seeds=$root/fuzz/corpus/$name
  work=$build/corpus/$target
  findings=$build/findings/$target
  rm -rf "$findings"
  mkdir -p "$seeds" "$work" "$findings"
  log=$build/$target.log
  echo "--- $target: ${seconds}s from $(find "$seeds" -type f | wc -l) seeds"
  # New inputs go to the work corpus in the build folder; the seeds in the tree stay as they are.
  # No input of a few kilobytes may make a reader ask for half a gigabyte at once.
  status=0
  "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=512 \
    -max_len=8192 -print_final_stats=1 -artifact_prefix="$findings/" "$work" "$seeds" >"$log" 2>&1 || status=$?
  grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$log" | tr '\n' ' ' || true
  echo
  if ((status != 0)); then
    echo "FAILED: $target (exit status $status); log: $log"
    grep -E -A30 'ERROR|runtime error|not one printable line|broken promise' "$log" | head -60 || tail -40 "$log"
    for finding in "$findings"/*; do
      [[ -f $finding ]] || continue
      echo "finding: $finding"
      echo "  base64: $(base64 -w0 "$finding")"
    done
    failed+=("$target")
  fi
done

if ((${#failed[@]})); then
  echo "fuzzing found faults in: ${failed[*]}"
  exit 1
fi
echo "fuzzing: no finding in ${targets[*]}"
