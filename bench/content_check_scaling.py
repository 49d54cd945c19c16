#!/usr/bin/env python3
"""Times `grotmere-sim --check` on content far larger than the shipped dungeon, and fails when a
case takes longer than its bound: the check must stay about as fast as the game's own start.

Each case is a game folder with the shipped data files and a 256 x 256 map of open floor:
- 2,000 and 8,000 locked doors, each with a key in the item file, and an exit to walk to;
- 400 switches aimed by name at 1,000 doors of one name;
- 100,000 monster spawns naming no prototype.

    bench/content_check_scaling.py SIM [--bound SECONDS]     (default bound 3 s per case)"""
import argparse, os, shutil, subprocess, sys, tempfile, time

SIDE = 256


def game_folder(root, out, records, items=""):
    os.makedirs(os.path.join(out, "bifs"))
    for name in os.listdir(os.path.join(root, "bifs")):
        if name.endswith(".bif"):
            shutil.copy(os.path.join(root, "bifs", name), os.path.join(out, "bifs", name))
    with open(os.path.join(out, "bifs", "gegenstand.bif"), "a") as f:
        f.write(items)
    rows = ["1" * SIDE] + ["1" + "0" * (SIDE - 2) + "1"] * (SIDE - 2) + ["1" * SIDE]
    with open(os.path.join(out, "bifs", "karte2.map"), "w") as f:
        f.write("%d\n%d\n%s\n%s" % (SIDE, SIDE, "\n".join(rows), records))


def cells(count):
    """Distinct open cells, row by row."""
    for k in range(count):
        yield 1 + k % (SIDE - 2), 1 + k // (SIDE - 2)


def locked_doors(count):
    records = "".join('TDoor { name = "Door%d"  x = %d  y = %d  locked = 1  key_id = %d }\n' %
                      (k, x, y, 100 + k) for k, (x, y) in enumerate(cells(count)))
    items = "".join('TKey { name = "Key%d"  key_id = %d }\n' % (k, 100 + k) for k in range(count))
    # A way out, so that the walk to it runs through every door.
    records += 'TSchalter { name = "Stair"  x = %d  y = %d  art = "exit" }\n' % (SIDE - 2, SIDE - 2)
    return records, items


def switches_at_doors(switches, doors):
    places = list(cells(switches + doors))
    records = "".join('TDoor { name = "Gate"  x = %d  y = %d  locked = 1  key_id = 999 }\n' % p
                      for p in places[:doors])
    records += "".join('TSchalter { name = "Lever"  x = %d  y = %d  art = "button"  '
                       'wirkung = "DEACTIVATE|locked"  ziel_name = "Gate" }\n' % p
                       for p in places[doors:])
    return records, ""


def unknown_spawns(count):
    return "".join('TGegner { name = "Nobody%d" }\n' % k for k in range(count)), ""


CASES = [("2,000 locked doors", lambda: locked_doors(2000)),
         ("8,000 locked doors", lambda: locked_doors(8000)),
         ("400 switches aimed at 1,000 doors", lambda: switches_at_doors(400, 1000)),
         ("100,000 spawns naming no prototype", lambda: unknown_spawns(100000))]


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("sim")
    ap.add_argument("--bound", type=float, default=3.0)
    args = ap.parse_args()
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    slow = 0
    with tempfile.TemporaryDirectory() as temp:
        for k, (what, make) in enumerate(CASES):
            folder = os.path.join(temp, "case%d" % k)
            game_folder(root, folder, *make())
            start = time.monotonic()
            subprocess.run([os.path.abspath(args.sim), "--check", "--dir", folder],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            took = time.monotonic() - start
            ok = took <= args.bound
            slow += 0 if ok else 1
            print("%-40s %7.2f s   bound %.1f s   %s" % (what, took, args.bound,
                                                         "ok" if ok else "TOO SLOW"))
    return 1 if slow else 0


if __name__ == "__main__":
    sys.exit(main())
