#!/usr/bin/env python3
"""Golden replays: recordings of the shipped game with the facts each must end on.

  golden_replays.py check SIM    plays every tests/replays/*.keys in grotmere-sim and fails on any
                                 fact that differs from its .expected.json, and on any checkpoint
                                 of the recording (a "check PASS DIGEST" line) the game does not meet
  golden_replays.py checkpoints SIM
                                 writes every recording anew with the checkpoints of this build
  golden_replays.py update SIM   writes the facts anew after an intended change and shows the diff
  golden_replays.py cut TESTS SIM
                                 makes the recordings again: plays the shipped route test's player
                                 (TESTS is the test program) for a few seeds and cuts its games

The facts: how the game ended, passes and turns, the player's place, level, experience, gold and
health, inventory and equipment, the monsters left by name, and the log's lines."""
import json, os, subprocess, sys, tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
REPLAYS = os.path.join(ROOT, "tests", "replays")


DIVERGES = 3


def play(sim, keys, passes=None, record=None):
    """The dump at the end; with a divergence from the recording's checkpoints, its message in
    "diverged"."""
    with tempfile.TemporaryDirectory() as scratch:
        dump = os.path.join(scratch, "d.json")
        # The contract checks watch every pass: a replay that breaks one fails here.
        command = [sim, "--dir", ROOT, "--keys", keys, "--dump", dump, "--classic",
                   "--check-contracts"]
        if passes is not None:
            command += ["--passes", str(passes)]
        if record is not None:
            command += ["--record", record]
        run = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        if run.returncode not in (0, DIVERGES):
            raise SystemExit("%s: grotmere-sim failed: %s" % (keys, run.stderr.decode()))
        with open(dump) as f:
            state = json.load(f)
        if run.returncode == DIVERGES:
            state["diverged"] = run.stderr.decode().strip()
        return state


def item(record):
    return None if record is None else "%s x%d" % (record["name"], record.get("anzahl", 1))


def facts(state):
    hero = state["player"]
    left = {}
    for monster in state["monsters"]:
        left[monster["name"]] = left.get(monster["name"], 0) + 1
    return {
        "ended": state["ended"],
        "passes": state["passes"],
        "turns": state["turns"],
        "position": [hero["x"], hero["y"]],
        "level": hero["level"],
        "experience": hero["xp"],
        "gold": hero["gold"],
        "health": hero["hp"],
        "weapon": item(hero["waffe"]),
        "armour": item(hero["panzer"]),
        "light": item(hero["leuchte"]),
        "inventory": [item(slot) for slot in hero["inventory"]],
        "monsters_left": dict(sorted(left.items())),
        "log": [line for line in state["message_lines"] if line],
    }


def recordings():
    return sorted(f[:-5] for f in os.listdir(REPLAYS) if f.endswith(".keys"))


def expected_path(name):
    return os.path.join(REPLAYS, name + ".expected.json")


def check(sim):
    failed = 0
    for name in recordings():
        keys = os.path.join(REPLAYS, name + ".keys")
        state = play(sim, keys)
        got = facts(state)
        with open(expected_path(name)) as f:
            want = json.load(f)
        wrong = [key for key in want if got.get(key) != want[key]]
        for key in wrong:
            print("%s: %s is %s, expected %s" % (name, key, json.dumps(got.get(key)),
                                                 json.dumps(want[key])))
        if "diverged" in state:
            print("%s: %s" % (name, state["diverged"]))
        with open(keys) as f:
            checked = any(line.startswith("check ") for line in f)
        if not checked:
            print("%s: the recording holds no checkpoints" % name)
        failed += bool(wrong) or "diverged" in state or not checked
    total = len(recordings())
    print("golden replays: %d passed, %d failed" % (total - failed, failed))
    return 1 if failed or total == 0 else 0


def update(sim):
    for name in recordings():
        got = facts(play(sim, os.path.join(REPLAYS, name + ".keys")))
        with open(expected_path(name), "w") as f:
            json.dump(got, f, indent=2)
            f.write("\n")
    subprocess.run(["git", "-C", ROOT, "diff", "--stat", "--", "tests/replays"])
    subprocess.run(["git", "-C", ROOT, "diff", "--", "tests/replays"])
    return 0


def checkpoints(sim):
    """Plays every recording with --record, so that it holds this build's checkpoints."""
    for name in recordings():
        keys = os.path.join(REPLAYS, name + ".keys")
        with tempfile.TemporaryDirectory() as scratch:
            again = os.path.join(scratch, "again.keys")
            state = play(sim, keys, record=again)
            if "diverged" in state:
                raise SystemExit("%s: %s" % (name, state["diverged"]))
            os.replace(again, keys)
    subprocess.run(["git", "-C", ROOT, "diff", "--stat", "--", "tests/replays"])
    return 0


def cut_text(text, passes):
    """The recording's first `passes` passes, with the checkpoints among them."""
    kept, left = [], passes
    for line in text.splitlines():
        words = line.split()
        if words[:1] == ["seed"] or line.startswith("#"):
            kept.append(line)
            continue
        if words[:1] == ["check"]:
            if int(words[1]) <= passes:
                kept.append(line)
            continue
        if left == 0:
            break
        if words[:1] == ["pass"]:
            run = min(int(words[1]), left)
            kept.append("pass %d" % run)
            left -= run
        else:
            kept.append(line)
            left -= 1
    return "\n".join(kept) + "\n"


def route_game(tests, seed, path):
    env = dict(os.environ, GROTMERE_ROUTE_SEED=str(seed), GROTMERE_ROUTE_RECORDING=path)
    # The plain player's game alone: the test with the aids starts a second game that would write
    # over the recording.
    only = "--gtest_filter=ShippedRoute.APlainPlayerClearsTheDungeonAndEscapes"
    subprocess.run([tests, only], env=env, cwd=ROOT,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    with open(path) as f:
        return f.read()


def first_pass(sim, path, total, holds):
    """The first pass after which `holds` is true of the state, for a condition that stays true
    once it holds, found in a few plays."""
    low, high = 0, total
    if not holds(play(sim, path, total)):
        raise SystemExit("no pass of %s shows what the replay is for" % path)
    while low + 1 < high:
        middle = (low + high) // 2
        if holds(play(sim, path, middle)):
            high = middle
        else:
            low = middle
    return high


def archers_left(state):
    return sum(1 for monster in state["monsters"] if monster["name"] == "Goblin Archer")


def cut(tests, sim):
    os.makedirs(REPLAYS, exist_ok=True)
    with tempfile.TemporaryDirectory() as scratch:
        games = {}
        for seed in (1, 2, 4):
            path = os.path.join(scratch, "route%d.keys" % seed)
            games[seed] = (route_game(tests, seed, path), path)
        escape_text, escape_path = games[1]
        total = play(sim, escape_path)["passes"]
        shot_text, shot_path = games[2]
        archers = archers_left(play(sim, shot_path, 0))
        pieces = {
            # The lit first room, the plate that raises the portcullis and the corridors past it.
            "walk_through_lit_rooms": (escape_text, 200),
            "fight_to_a_level_rise": (escape_text, first_pass(
                sim, escape_path, total, lambda s: s["player"]["level"] >= 2) + 10),
            # Up to the first goblin archer shot down after it shot back.
            "shooting_match": (shot_text, first_pass(
                sim, shot_path, play(sim, shot_path)["passes"],
                lambda s: archers_left(s) < archers) + 5),
            "death_to_the_minotaur": games[4][0],
            "escape_to_daylight": escape_text,
        }
        for name, piece in pieces.items():
            text = piece if isinstance(piece, str) else cut_text(*piece)
            with open(os.path.join(REPLAYS, name + ".keys"), "w") as f:
                f.write(text)
    return update(sim)


def main():
    commands = {"check": check, "update": update, "checkpoints": checkpoints}
    if len(sys.argv) == 3 and sys.argv[1] in commands:
        return commands[sys.argv[1]](os.path.abspath(sys.argv[2]))
    if len(sys.argv) == 4 and sys.argv[1] == "cut":
        return cut(os.path.abspath(sys.argv[2]), os.path.abspath(sys.argv[3]))
    sys.exit(__doc__)


if __name__ == "__main__":
    sys.exit(main())
