#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game. Arguments go to the game.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
exec ./build/brawl "$@"
