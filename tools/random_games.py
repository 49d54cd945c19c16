#!/usr/bin/env python3
"""Plays long games of random keys in grotmere-sim and keeps each game's dump and last screen.

A change that must not alter any rule (a restructuring, a faster pass) is checked by running this
before and after it into two folders and comparing them:

    tools/random_games.py build/grotmere-sim /tmp/before
    ...change, rebuild...
    tools/random_games.py build/grotmere-sim /tmp/after && diff -r /tmp/before /tmp/after

Usage: random_games.py SIM OUT_DIR [--games N] [--passes N] [--dir GAME_DIR] [--blank SHARE]
                       [--check-contracts]"""
import argparse, os, random, subprocess, sys

# Keys a player uses, weighted toward walking; shift-held drops and focus changes included.
KEYS = (["left", "right", "up", "down"] * 6 + [str(d) for d in range(10)] +
        ["g", "u", "l", "r", "w", "i", "e", "+lshift", "-lshift", "focus", ""] * 1)


def script(rng, passes, blank):
    lines = []
    for _ in range(passes):
        if rng.random() < blank:
            lines.append("")
            continue
        lines.append(" ".join(k for k in rng.sample(KEYS, rng.randint(1, 2)) if k))
    return "\n".join(lines) + "\n"


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("sim")
    ap.add_argument("out")
    ap.add_argument("--games", type=int, default=12)
    ap.add_argument("--passes", type=int, default=1500)
    ap.add_argument("--dir", default=".")
    # The share of passes without a key: idle stretches, where the window skips unchanged frames.
    ap.add_argument("--blank", type=float, default=0.3)
    # Passed on to the simulator, which then checks every promise its fast paths rest on.
    ap.add_argument("--check-contracts", action="store_true")
    args = ap.parse_args()
    checks = ["--check-contracts"] if args.check_contracts else []
    os.makedirs(args.out, exist_ok=True)
    for game in range(args.games):
        rng = random.Random(game)
        keys = os.path.join(args.out, "game%02d.keys" % game)
        with open(keys, "w") as f:
            f.write(script(rng, args.passes, args.blank))
        base = os.path.join(args.out, "game%02d" % game)
        run = subprocess.run([args.sim, "--dir", args.dir, "--seed", str(1000 + game), "--keys",
                              keys, "--dump", base + ".json", "--screenshot", base + ".png"] +
                             checks,
                             capture_output=True)
        with open(base + ".out", "wb") as f:
            f.write(b"status %d\n" % run.returncode + run.stdout + b"\n--stderr--\n" + run.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main())
