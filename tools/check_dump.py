#!/usr/bin/env python3
"""Checks a headless state dump read from a file or standard input, line by line.

Every line must be one JSON object; passes must count up from 0 without a gap; no value may
be null (the dump writes a value that is not finite as null); and the modes named with
--expect-modes must each have been seen. Prints one summary line; exits 1 on the first fault.
Reads as it goes, so a run of hours can be piped through it without storing the dump.
"""

import argparse
import json
import re
import sys

HEAD = re.compile(r'^\{"pass":(\d+),"GameMode":(-?\d+),')
MODE_NAMES = {0: "title", 1: "one player", 2: "two players", 3: "result"}


def fail(message):
    print(f"check_dump: {message}", file=sys.stderr)
    sys.exit(1)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("dump", nargs="?", default="-", help="the dump file; - for standard input")
    parser.add_argument("--expect-passes", type=int, help="the last pass the dump must reach")
    parser.add_argument("--expect-modes", default="",
                        help="comma-separated GameMode values that must each occur, e.g. 1,3")
    parser.add_argument("--parse-every", type=int, default=97,
                        help="parse every Nth line in full (the rest are checked by pattern)")
    args = parser.parse_args()

    source = sys.stdin if args.dump == "-" else open(args.dump, encoding="utf-8")
    expected = 0
    mode_passes = {}
    matches = 0
    previous_mode = None
    last = None
    for number, line in enumerate(source, 1):
        head = HEAD.match(line)
        if not head:
            fail(f"line {number}: not a dump line: {line[:80]!r}")
        pass_number, mode = int(head.group(1)), int(head.group(2))
        if pass_number != expected:
            fail(f"line {number}: pass {pass_number}, expected {expected}")
        if "null" in line:
            fail(f"pass {pass_number}: a value that is not finite: {line.strip()[:300]}")
        if number % args.parse_every == 0:
            try:
                json.loads(line)
            except ValueError as error:
                fail(f"pass {pass_number}: not JSON ({error})")
        if mode in (1, 2) and previous_mode not in (1, 2):
            matches += 1
        previous_mode = mode
        mode_passes[mode] = mode_passes.get(mode, 0) + 1
        expected += 1
        last = line
    if last is None:
        fail("the dump is empty")
    try:
        json.loads(last)
    except ValueError as error:
        fail(f"the last line is not JSON ({error})")
    if args.expect_passes is not None and expected - 1 != args.expect_passes:
        fail(f"the dump ends at pass {expected - 1}, expected {args.expect_passes}")
    for wanted in filter(None, args.expect_modes.split(",")):
        if not mode_passes.get(int(wanted)):
            fail(f"no pass in mode {wanted} ({MODE_NAMES.get(int(wanted), '?')})")
    modes = ", ".join(f"{MODE_NAMES.get(m, m)} {n}" for m, n in sorted(mode_passes.items()))
    print(f"check_dump: passes 0..{expected - 1} fine; {matches} matches; passes by mode: {modes}")


if __name__ == "__main__":
    main()
