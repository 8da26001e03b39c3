#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs the whole test suite;
# then the proof stages: the suite and long random play under the sanitizers, fuzzing of
# every reader of outside input, and a soak run. Fails if any stage fails.
#
#   TEST_STAGES   the stages after the test suite (default "sanitize fuzz soak")
#   FUZZ_SECONDS  time per fuzz target (default 60)
#   SOAK_PASSES   passes of each soak run (default 36000, ten minutes of play)
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh -DBRAWL_WERROR=ON

results=()
failed=0
stage() {
  local name=$1 started=$SECONDS status=0
  shift
  echo
  echo "===== stage: $name ====="
  "$@" || status=$?
  local verdict=passed
  if ((status != 0)); then
    verdict="FAILED (status $status)"
    failed=1
  fi
  results+=("$name: $verdict in $((SECONDS - started)) s")
  echo "===== stage: $name: $verdict in $((SECONDS - started)) s ====="
}

stage "test suite" ctest --test-dir build --output-on-failure -j"$(nproc)" --timeout 600
for name in ${TEST_STAGES-sanitize fuzz soak}; do
  case $name in
    sanitize) stage "sanitizers" bash tools/sanitize.sh ;;
    fuzz) stage "fuzzing" env FUZZ_SECONDS="${FUZZ_SECONDS:-60}" bash tools/fuzz.sh ;;
    soak) stage "soak" env SOAK_PASSES="${SOAK_PASSES:-36000}" SOAK_BUILD=build bash tools/soak.sh ;;
    *) echo "test.sh: unknown stage '$name' (sanitize, fuzz, soak)" >&2; exit 2 ;;
  esac
done

echo
printf '%s\n' "${results[@]}"
exit "$failed"
