#!/usr/bin/env bash
# The time F11 takes to give the new picture, in the real game under Xvfb and a small
# window manager (see bench/fullscreen_toggle.py for what is measured).
# Usage: bench/fullscreen_toggle.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
rounds=${2:-10}
display=:$((90 + RANDOM % 9))
home=$(mktemp -d)

Xvfb "$display" -screen 0 1280x960x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb $wm 2>/dev/null || true; rm -rf "$home"' EXIT
export DISPLAY=$display SDL_AUDIODRIVER=dummy HOME=$home
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
# Without the window manager's shortcuts (it takes F11 for itself otherwise); with its title
# bar, so that the window never covers the corner where only the full screen shows the picture.
matchbox-window-manager -use_titlebar yes -kbdconfig /dev/null >/dev/null 2>&1 &
wm=$!
sleep 0.5

(cd "$build" && exec ./brawl --windowed) &
pid=$!
dialog=$(xdotool search --sync --onlyvisible --name "Pre-Sortie Settings" | head -1)
xdotool key --window "$dialog" Return
until xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -qv "^$dialog\$"; do sleep 0.05; done
sleep 1

# The title's pixel (1, 1) as 24-bit RGB.
colour=$(convert "$build/title.bmp[2x2+1+1]" -depth 8 rgb:- | head -c 3 | od -An -tx1 | tr -d ' \n')
python3 "$here/fullscreen_toggle.py" "$rounds" "$colour"
xdotool key Escape
wait "$pid"
