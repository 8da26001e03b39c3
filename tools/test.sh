#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh -DBRAWL_WERROR=ON
cd build
ctest --output-on-failure -j"$(nproc)" --timeout 600
