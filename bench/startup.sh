#!/usr/bin/env bash
# Start-up figures of the real game under Xvfb and a small window manager: process start to
# the settings window mapped, Enter (the launch) to the game window mapped, and peak memory
# (VmHWM) during a match; plus the peak memory of a long headless two-player match at 640 x 480.
# Usage: bench/startup.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-5}
display=:$((90 + RANDOM % 9))

Xvfb "$display" -screen 0 1280x960x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb $wm 2>/dev/null || true' EXIT
export DISPLAY=$display SDL_AUDIODRIVER=dummy
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
matchbox-window-manager -use_titlebar no >/dev/null 2>&1 &
wm=$!
sleep 0.5

now() { date +%s.%N; }
ms() { echo "($2 - $1) * 1000" | bc -l | xargs printf '%.0f'; }

to_dialog=() to_game=() peak=()
for run in $(seq "$runs"); do
  t0=$(now)
  (cd "$build" && exec ./brawl) &
  pid=$!
  dialog=$(xdotool search --sync --onlyvisible --name "出撃前の設定" | head -1)
  t1=$(now)
  xdotool key --window "$dialog" Return
  t2=$(now)
  # The settings window hides at the launch; the game's window is then the program's only one.
  until xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -qv "^$dialog\$"; do sleep 0.005; done
  t3=$(now)
  sleep 2
  peak+=("$(awk '/VmHWM/ {print $2}' /proc/$pid/status)")
  xdotool key Escape
  wait "$pid"
  to_dialog+=("$(ms "$t0" "$t1")") to_game+=("$(ms "$t2" "$t3")")
done

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
echo "process start to settings window mapped: $(median "${to_dialog[@]}") ms (median of $runs: ${to_dialog[*]})"
echo "launch (Enter) to game window mapped:    $(median "${to_game[@]}") ms (median of $runs: ${to_game[*]})"
echo "peak memory of the real game, title:     $(median "${peak[@]}") KiB"

script=$(mktemp)
{ echo "1 Down"; echo "1 Down Enter"; for _ in $(seq 60); do echo "50 Up Num3 Num2 S M N"; echo "40 Left Num3 X M B"; done; } >"$script"
hw=$( { /usr/bin/time -f '%M' "$build/brawl" --headless --hires --script "$script" >/dev/null; } 2>&1 | tail -1)
echo "peak memory, headless 2-player match at 640x480 (5,400 passes): $hw KiB"
rm -f "$script"
