#!/usr/bin/env python3
"""Writes a random headless input script that plays match after match.

The script cannot see the screen, so it repeats a cycle that works from any mode: Space
(leaves the result screen), a pick on the title (Up for one player, Down for two), Enter
(starts the match), then a stretch of random movement, turning and firing. Escape is never
held. The same seed gives the same script, byte for byte.
"""

import argparse
import random
import sys

PLAYER1 = ["Up", "Down", "Left", "Right", "Num1", "Num2", "Num3", "Num4"]
PLAYER2 = ["S", "X", "C", "Z", "N", "B", "M"]
FIRE = {"Num3", "M"}


def stick_names(joysticks):
    names = []
    for j in range(1, joysticks + 1):
        names += [f"J{j}.{c}" for c in ("Left", "Right", "Up", "Down", "B0", "B1", "B2", "B3")]
    return names


def fight_line(rng, joysticks):
    """One line of play: a few keys of each player, fire held more often than not."""
    keys = set()
    keys.update(rng.sample(PLAYER1, rng.randint(0, 3)))
    keys.update(rng.sample(PLAYER2, rng.randint(0, 3)))
    for fire in FIRE:
        if rng.random() < 0.6:
            keys.add(fire)
    sticks = stick_names(joysticks)
    if sticks:
        keys.update(rng.sample(sticks, rng.randint(0, 3)))
    # Mostly short holds, now and then a long walk (out of the arena and back).
    count = rng.randint(1, 30) if rng.random() < 0.85 else rng.randint(30, 400)
    return count, sorted(keys)


def start_lines(rng, mode):
    """Leaves a result screen and starts a match; in a match it is five passes of little."""
    pick = mode if mode in (1, 2) else rng.choice((1, 2))
    return [(1, ["Space"]), (1, []), (1, ["Up" if pick == 1 else "Down"]), (1, ["Enter"]), (1, [])]


def script_lines(rng, passes, mode, joysticks):
    total = 0
    while total < passes:
        # Restart often enough that a finished match does not sit long on its result screen.
        lines = start_lines(rng, mode) if total == 0 or rng.random() < 0.2 else []
        lines.append(fight_line(rng, joysticks))
        for count, keys in lines:
            count = min(count, passes - total)
            if count <= 0:
                return
            total += count
            yield f"{count} {' '.join(keys)}".rstrip()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--passes", type=int, default=20000, help="passes the script lasts")
    parser.add_argument("--mode", type=int, choices=(0, 1, 2), default=0,
                        help="1: one player, 2: two players, 0: either, chosen at random per match")
    parser.add_argument("--joysticks", type=int, choices=(0, 1, 2), default=0,
                        help="also hold the buttons of this many attached joysticks")
    args = parser.parse_args()
    rng = random.Random(args.seed)
    out = sys.stdout
    out.write(f"# random play: seed {args.seed}, {args.passes} passes, mode {args.mode}\n")
    for line in script_lines(rng, args.passes, args.mode, args.joysticks):
        out.write(line + "\n")


if __name__ == "__main__":
    main()
