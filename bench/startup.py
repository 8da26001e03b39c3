#!/usr/bin/env python3
"""Start-up, frame pacing and memory of the real game under Xvfb and a small window manager.

The game says itself when things happen (BRAWL_TIMING=1 makes it write wall-clock timestamps
on stderr), so no figure depends on how often a script polls for windows:
  - process start to the settings window mapped, against the floor: a bare GTK 3 window with
    one button, started the same way under the same X server and window manager;
  - the launch (Enter) to the game window mapped, and to the first frame shown;
  - flip-to-flip intervals over a few seconds of a one-player match at 640 x 480;
  - peak memory of the real game, and of a long headless two-player match.
Usage: bench/startup.py [BUILD_DIR] [RUNS]
"""
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

BUILD = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
RUNS = int(sys.argv[2]) if len(sys.argv) > 2 else 7
TRACE = re.compile(r"^brawl: timing: (\S+) (\d+\.\d+)$")


def start_x():
    display = ":%d" % (90 + os.getpid() % 9)
    xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1280x960x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    env = dict(os.environ, DISPLAY=display, SDL_AUDIODRIVER="dummy", BRAWL_TIMING="1")
    for _ in range(100):
        if subprocess.run(["xdotool", "getdisplaygeometry"], env=env, capture_output=True).returncode == 0:
            break
        time.sleep(0.05)
    wm = subprocess.Popen(["matchbox-window-manager", "-use_titlebar", "no"], env=env,
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(0.5)
    return env, [wm, xvfb]


class Traced:
    """A process whose timing lines are read as they come."""

    def __init__(self, argv, env, cwd=None):
        self.started = time.time()
        self.proc = subprocess.Popen(argv, env=env, cwd=cwd, stderr=subprocess.PIPE, text=True)
        self.events = []

    def wait_for(self, event, timeout=20.0):
        for seen, at in self.events:
            if seen == event:
                return at
        deadline = time.time() + timeout
        while time.time() < deadline:
            line = self.proc.stderr.readline()
            if not line:
                break
            m = TRACE.match(line.strip())
            if m:
                self.events.append((m.group(1), float(m.group(2))))
                if m.group(1) == event:
                    return float(m.group(2))
        raise RuntimeError("%s never came (status %s)" % (event, self.proc.poll()))

    def finish(self):
        try:
            out = self.proc.communicate(timeout=20)[1]
        except subprocess.TimeoutExpired:
            self.proc.kill()
            raise RuntimeError("the game did not end; its events: %s" % [e for e, _ in self.events][-5:])
        for line in out.splitlines():
            m = TRACE.match(line.strip())
            if m:
                self.events.append((m.group(1), float(m.group(2))))
        return self.proc.returncode


def key(env, name):
    """Holds a key for a fifth of a second: the game reads keys held when it samples them."""
    subprocess.run(["xdotool", "keydown", name, "sleep", "0.2", "keyup", name], env=env, check=True)


def ms(seconds):
    return seconds * 1000.0


def median(values):
    return statistics.median(values)


def percentile(values, p):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(round(p / 100.0 * (len(ordered) - 1))))]


def peak_kib(pid):
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def main():
    env, servers = start_x()
    try:
        floor, dialog, to_window, to_frame, peaks = [], [], [], [], []
        # The first run of each reads its libraries from disk: warm both before measuring.
        for argv in ([os.path.join(BUILD, "bench", "floor_gtk_window")], [os.path.join(BUILD, "brawl")]):
            warm = Traced(argv, env, cwd=BUILD)
            warm.wait_for("settings-window-mapped")
            warm.proc.kill()
            warm.finish()
        for _ in range(RUNS):
            bare = Traced([os.path.join(BUILD, "bench", "floor_gtk_window")], env)
            floor.append(ms(bare.wait_for("settings-window-mapped") - bare.started))
            bare.finish()

            game = Traced(["./brawl"], env, cwd=BUILD)
            dialog.append(ms(game.wait_for("settings-window-mapped") - game.started))
            key(env, "Return")
            launch = game.wait_for("launch")
            to_window.append(ms(game.wait_for("game-window-mapped") - launch))
            to_frame.append(ms(game.wait_for("first-frame") - launch))
            time.sleep(1.0)
            peaks.append(peak_kib(game.proc.pid))
            key(env, "Escape")
            game.finish()

        # A one-player match at 640 x 480 with the frame-rate line: the flips of its last 4 s.
        # A copy of the data folder whose env.ini ticks both boxes.
        data = tempfile.mkdtemp()
        for name in os.listdir(BUILD):
            if name.endswith((".bmp", ".wav", ".x")):
                shutil.copy(os.path.join(BUILD, name), data)
        with open(os.path.join(BUILD, "env.ini"), newline="") as source:
            lines = source.read().split("\n")
        lines[1:3] = [re.sub(r"^0,", "1,", line) for line in lines[1:3]]
        with open(os.path.join(data, "env.ini"), "w", newline="") as ini:
            ini.write("\n".join(lines))
        game = Traced([os.path.join(BUILD, "brawl"), "--app-path", data], env, cwd=data)
        game.wait_for("settings-window-mapped")
        key(env, "Return")
        game.wait_for("first-frame")
        time.sleep(0.5)
        key(env, "Return")  # the one-player match
        time.sleep(6.0)
        key(env, "Escape")
        game.finish()
        flips = [at for event, at in game.events if event == "flip"]
        end = flips[-1]
        flips = [at for at in flips if at >= end - 4.0]
        intervals = [ms(b - a) for a, b in zip(flips, flips[1:])]
        shutil.rmtree(data)
    finally:
        for proc in servers:
            proc.terminate()

    print("process start to settings window mapped: %.0f ms (median of %d: %s)" %
          (median(dialog), RUNS, " ".join("%.0f" % v for v in dialog)))
    print("floor, a bare GTK 3 window with one button:  %.0f ms (median of %d: %s)" %
          (median(floor), RUNS, " ".join("%.0f" % v for v in floor)))
    print("settings window / floor: %.2f" % (median(dialog) / median(floor)))
    print("launch (Enter) to game window mapped: %.1f ms (median of %d)" % (median(to_window), RUNS))
    print("launch (Enter) to first frame shown:  %.1f ms (median of %d)" % (median(to_frame), RUNS))
    print("flip-to-flip, one-player match at 640x480, %d flips: median %.2f ms, 99th percentile %.2f ms,"
          " slowest %.2f ms" % (len(intervals), median(intervals), percentile(intervals, 99), max(intervals)))
    print("peak memory of the real game, title: %d KiB" % median(peaks))

    with tempfile.NamedTemporaryFile("w", suffix=".txt") as script:
        script.write("1 Down\n1 Down Enter\n")
        for _ in range(60):
            script.write("50 Up Num3 Num2 S M N\n40 Left Num3 X M B\n")
        script.flush()
        run = subprocess.run(["/usr/bin/time", "-f", "%M", os.path.join(BUILD, "brawl"), "--headless", "--hires",
                              "--script", script.name], capture_output=True, text=True)
        print("peak memory, headless 2-player match at 640x480 (5,400 passes): %s KiB" %
              run.stderr.strip().splitlines()[-1])


main()
