#!/usr/bin/env python3
"""Writes a game folder with the largest map: 256 x 256 tiles, a fifth of them walls, 1,000
burning braziers and 1,000 monsters, plus doors, switches and teleports scattered about, so that
every world pass has work on every part of the map. The other data files are the shipped ones.

    tools/large_map.py OUT_DIR [--seed N]

The folder is a game folder for grotmere-sim --dir and for the window (bench_report.sh idles the
window on it); random_games.py --dir plays long games on it."""
import argparse, os, random, shutil, sys

SIDE = 256


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("out")
    ap.add_argument("--seed", type=int, default=7)
    args = ap.parse_args()
    rng = random.Random(args.seed)
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    os.makedirs(os.path.join(args.out, "bifs"), exist_ok=True)
    for name in os.listdir(os.path.join(root, "bifs")):
        if name.endswith(".bif"):
            shutil.copy(os.path.join(root, "bifs", name), os.path.join(args.out, "bifs", name))
    shutil.copy(os.path.join(root, "build.cnt"), os.path.join(args.out, "build.cnt"))

    grid = [[0] * SIDE for _ in range(SIDE)]  # [y][x]
    walls = 0
    while walls < SIDE * SIDE // 5:
        x, y = rng.randrange(SIDE), rng.randrange(SIDE)
        if grid[y][x] == 0 and (x, y) != (5, 5):
            grid[y][x] = 1
            walls += 1
    taken = {(5, 5)}

    def floor():
        while True:
            x, y = rng.randrange(SIDE), rng.randrange(SIDE)
            if grid[y][x] == 0 and (x, y) not in taken:
                taken.add((x, y))
                return x, y

    records = []
    for _ in range(1000):
        x, y = floor()
        records.append('TLeuchte { name = "Brazier"  x = %d  y = %d }' % (x, y))
    # Doors near the player too, so that random games open, close and lock them.
    for k in range(300):
        x, y = floor() if k >= 20 else (rng.randrange(1, 14), rng.randrange(1, 14))
        if grid[y][x] == 1:
            continue
        taken.add((x, y))
        records.append('TDoor { name = "Door %d"  x = %d  y = %d  key_id = 1  locked = %d  '
                       'secret = %d }' % (k % 5, x, y, rng.random() < 0.2, rng.random() < 0.1))
    for k in range(120):
        x, y = floor() if k >= 20 else (rng.randrange(1, 14), rng.randrange(1, 14))
        if grid[y][x] == 1:
            continue
        taken.add((x, y))
        art, wirkung, target = rng.choice([
            ("trigger", "open", 'ziel_name = "Door %d"  ziel_x = -1  ziel_y = -1' % (k % 5)),
            ("button", "ACTIVATE|open|DEACTIVATE|locked",
             'ziel_name = "Door %d"  ziel_x = -1  ziel_y = %d' % (k % 5, rng.randrange(SIDE))),
            ("trigger", "brennt", 'ziel_name = "Brazier"  ziel_x = %d  ziel_y = -1'
             % rng.randrange(SIDE)),
        ])
        records.append('TSchalter { name = "Switch %d"  x = %d  y = %d  art = "%s"  wirkung = "%s"'
                       '  %s }' % (k, x, y, art, wirkung, target))
    for k in range(60):
        x, y = floor() if k >= 10 else (rng.randrange(1, 14), rng.randrange(1, 14))
        tx, ty = floor()
        taken.discard((tx, ty))
        records.append('TTeleport { name = "Portal"  x = %d  y = %d  target_x = %d  target_y = %d }'
                       % (x, y, tx, ty))
    records.append('TGegner { level = 2  abweichung = 2  anzahl = 1000 }')

    with open(os.path.join(args.out, "bifs", "karte2.map"), "w") as f:
        f.write("%d\n%d\n" % (SIDE, SIDE))
        for row in grid:
            f.write("".join(str(c) for c in row) + "\n")
        f.write("\n".join(records) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
