#!/usr/bin/env bash
# Processor time the real game takes under Xvfb and a small window manager: 10 s of the
# settings window waiting for the player, then 10 s of a one-player match. Under Xvfb the
# match's figure is mostly the software GL that stands in for a graphics card.
# Usage: bench/cpu_use.sh [BUILD_DIR] [SECONDS]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
seconds=${2:-10}
display=:$((90 + RANDOM % 9))

Xvfb "$display" -screen 0 1280x960x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb $wm 2>/dev/null || true; [[ -n "${pid:-}" ]] && kill "$pid" 2>/dev/null || true' EXIT
export DISPLAY=$display SDL_AUDIODRIVER=dummy
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
matchbox-window-manager -use_titlebar no >/dev/null 2>&1 &
wm=$!
sleep 0.5

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# Share of one core over `seconds`, from the process's user and system clock ticks.
share() {
  local before after
  before=$(ticks "$1")
  sleep "$seconds"
  after=$(ticks "$1")
  awk -v a="$after" -v b="$before" -v s="$seconds" -v t="$(getconf CLK_TCK)" 'BEGIN {printf "%.1f", (a - b) * 100 / (s * t)}'
}

(cd "$build" && exec ./brawl) &
pid=$!
dialog=$(xdotool search --sync --onlyvisible --name "Pre-Sortie Settings" | head -1)
sleep 1
echo "settings window waiting, ${seconds} s: $(share "$pid") % of a core"

xdotool key --window "$dialog" Return
until xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -qv "^$dialog\$"; do sleep 0.05; done
sleep 1
xdotool key Return  # the title's first choice: one player against the computer
sleep 1
echo "one-player match, ${seconds} s:       $(share "$pid") % of a core"
xdotool key Escape
wait "$pid"
pid=
