#!/usr/bin/env bash
# Makes the README's screenshots in docs/screenshots with the game's headless mode, at
# 640 x 480, from the data files of BUILD_DIR.
# Usage: tools/screenshots.sh [BUILD_DIR]   (build first: bash tools/setup.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)
out=$(pwd)/docs/screenshots

shot() {  # name pass script
  printf '%b' "$3" | (cd "$build" && ./brawl --headless --hires --script - --dump /dev/null \
    --screenshot "$2:$out/$1.png")
}

shot title 3 '3\n'
shot one-player 140 '1 Enter\n62\n40 Up Num3\n14 Right Num3\n30 Up Num3\n'
shot two-players 110 '1 Down\n1\n1 Enter\n62\n24 Up Num3 M\n12 Num3 M B\n12 Up S Num3\n'
shot result 250 '1 Down\n1 Down Enter\n260 Num3\n'
