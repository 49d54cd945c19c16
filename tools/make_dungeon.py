#!/usr/bin/env python3
"""Writes the shipped dungeon, bifs/karte2.map, from the room and corridor plan below.

The committed map file is what the game reads; this script only keeps the plan readable. Run it
from the repository root after changing the plan, then check the result:

    python3 tools/make_dungeon.py && build/grotmere-sim --check

Rooms are rectangles of floor (0) cut into rock (1), corridors (2) run between doorways, and the
records (lights, doors, switches, teleports, monsters) follow the grid in the order the route
meets them: the balance harness (balance/) reads the monster spawns in that order to know
the player's level at each fight.
"""
import os
import sys

WIDTH, HEIGHT = 112, 64

# name: (x0, y0, x1, y1), the floor inclusive.
ROOMS = {
    "Start Hall": (3, 3, 14, 10),
    "Store Room": (22, 3, 31, 8),
    "Guard Room": (40, 2, 51, 9),
    "Bat Cave": (60, 3, 69, 9),
    "Archers' Gallery": (78, 2, 91, 9),
    "East Tower": (99, 3, 108, 10),
    "Well Room": (4, 18, 13, 25),
    "Crypt": (22, 19, 33, 25),
    "Pillar Hall": (40, 17, 53, 26),
    "Ossuary": (61, 19, 70, 25),
    "Barracks": (77, 18, 88, 26),
    "Chapel": (97, 18, 108, 25),
    "Catacomb": (4, 35, 15, 43),
    "Secret Vault": (22, 47, 29, 52),
    "Troll Bridge": (38, 34, 51, 43),
    "Mage Study": (59, 36, 70, 43),
    "Deep Hall": (77, 35, 90, 44),
    "Armoury": (97, 36, 108, 43),
    "Shrine": (97, 50, 104, 55),
    "Guardian's Lair": (60, 51, 77, 59),
    "Exit Chamber": (88, 53, 95, 58),
}

# Corridors as waypoints; each leg is straight. The first and last points are the doorways next
# to the rooms they join, where a door may stand.
CORRIDORS = [
    [(15, 6), (21, 6)],              # Start Hall - Store Room
    [(32, 5), (39, 5)],              # Store Room - Guard Room
    [(52, 6), (59, 6)],              # Guard Room - Bat Cave (portcullis)
    [(70, 6), (77, 6)],              # Bat Cave - Archers' Gallery
    [(92, 6), (98, 6)],              # Archers' Gallery - East Tower
    [(8, 11), (8, 17)],              # Start Hall - Well Room
    [(14, 22), (21, 22)],            # Well Room - Crypt
    [(34, 22), (39, 22)],            # Crypt - Pillar Hall
    [(45, 10), (45, 16)],            # Guard Room - Pillar Hall: the loop
    [(54, 22), (60, 22)],            # Pillar Hall - Ossuary (Iron Door)
    [(71, 22), (76, 22)],            # Ossuary - Barracks
    [(89, 22), (96, 22)],            # Barracks - Chapel
    [(103, 11), (103, 17)],          # East Tower - Chapel (sealed door)
    [(82, 27), (82, 34)],            # Barracks - Deep Hall (Brass Door)
    [(76, 39), (71, 39)],            # Deep Hall - Mage Study
    [(58, 39), (52, 39)],            # Mage Study - Troll Bridge
    [(37, 39), (16, 39)],            # Troll Bridge - Catacomb
    [(10, 44), (10, 49), (21, 49)],  # Catacomb - Secret Vault (hidden door)
    [(91, 39), (96, 39)],            # Deep Hall - Armoury
    [(102, 44), (102, 49)],          # Armoury - Shrine (hidden door)
    [(64, 44), (64, 50)],            # Mage Study - Guardian's Lair
    [(78, 55), (87, 55)],            # Guardian's Lair - Exit Chamber (Black Gate)
]

# Doorway tiles stay room floor, so that the grid shows where a door may stand.
DOORWAYS = {c[0] for c in CORRIDORS} | {c[-1] for c in CORRIDORS}

# Walls built inside rooms, as (x0, y0, x1, y1) inclusive. One across the west end of the
# Guardian's Lair leaves a pen one tile wide, entered only at its north end: the lever lies at its
# south end, so whoever stands in the pen stands between the lever and the player.
WALLS = [
    (61, 52, 61, 59),
]

RECORDS = r'''
/ The records of the map. Grid above: 1 rock and walls, 0 room floor, 2 corridor; the first
/ corridor tile beside a room is left as room floor, a doorway where a door may stand.
/ Written by tools/make_dungeon.py from its plan.

/ --- Light. A lamp on the map is a copy of the item prototype of its name, lying at x, y;
/ brenndauer is how many turns it burns (left out: for ever). Several lamps of one kind share a
/ record through lists: one copy per position.

/ The Start Hall is lit well, so a new player sees where to go.
TLeuchte { name = "Brazier"  x = [5,12]  y = [5,8]  brenndauer = 3000 }
/ Unlit sconces that plates light up.
TLeuchte { name = "Wall Sconce"  x = 18  y = 6 }
TLeuchte { name = "Wall Sconce"  x = 46  y = 21 }
TLeuchte { name = "Blue Lantern"  x = [24,30]  y = [5,6]  brenndauer = 1500 }
TLeuchte { name = "Brazier"  x = 46  y = 4  brenndauer = 1200 }
/ The archers stand in light: arrows fly true only into lit tiles.
TLeuchte { name = "Red Lamp"  x = [81,88]  y = [4,7]  brenndauer = 2000 }
TLeuchte { name = "Green Lamp"  x = 104  y = 7  brenndauer = 1500 }
TLeuchte { name = "Blue Lantern"  x = 8  y = 21  brenndauer = 1500 }
TLeuchte { name = "Green Lamp"  x = [25,31]  y = [21,23]  brenndauer = 1000 }
TLeuchte { name = "Brazier"  x = [66,82,102]  y = [22,22,21]  brenndauer = 1500 }
TLeuchte { name = "Red Lamp"  x = 44  y = 38  brenndauer = 1500 }
/ The mage's study is lit for good: the mage shoots no farther than a torch shines, and its
/ doors keep it in the light until the player opens them.
TLeuchte { name = "Blue Lantern"  x = [62,68]  y = [39,39] }
TLeuchte { name = "Green Lamp"  x = [83,9]  y = [39,39]  brenndauer = 1500 }
TLeuchte { name = "Glow Stone"  x = 100  y = 52 }
/ The lair and the pen at its west end stay lit, however long the way there took.
TLeuchte { name = "Red Lamp"  x = [63,74]  y = [55,55] }
TLeuchte { name = "Brazier"  x = 60  y = 55 }
TLeuchte { name = "Brazier"  x = 91  y = 55 }

/ --- Doors stand on doorway tiles. open = 1 is open; locked = 1 keeps the door shut until a key
/ with the same key_id, or a switch, unlocks it; secret = 1 hides the door until it is found by
/ looking (with light on the tile you stand on), and cloak makes it harder to find.

TDoor { name = "Oak Door"  x = 15  y = 6 }
TDoor { name = "Wooden Door"  x = 8  y = 11 }
TDoor { name = "Portcullis"  x = 59  y = 6  locked = 1  key_id = 9 }
/ The Iron Key and the Brass Key of the starting pack open the two locked doors of the route.
TDoor { name = "Iron Door"  x = 54  y = 22  locked = 1  key_id = 1 }
TDoor { name = "Brass Door"  x = 82  y = 27  locked = 1  key_id = 2 }
/ Opened from the Chapel only: a way back to the East Tower.
TDoor { name = "Sealed Door"  x = 103  y = 11  locked = 1  key_id = 8 }
TDoor { name = "Hidden Door"  x = [10,102]  y = [44,44]  secret = 1  cloak = [10,25] }
TDoor { name = "Study Door"  x = [58,71]  y = [39,39] }
/ The guardian stays in its lair until the player opens its door, and in its pen until the
/ player opens that.
TDoor { name = "Lair Door"  x = 64  y = 44 }
TDoor { name = "Barred Door"  x = 61  y = 51 }
/ The deepest door: no key fits it; the lever past the guardian opens it.
TDoor { name = "Black Gate"  x = 87  y = 55  locked = 1  key_id = 7 }

/ --- Switches. art "trigger" fires on every turn the player stands on it, "button" when the use
/ key is pressed on it, "exit" ends the game as an escape. wirkung lists the fields of the target
/ to change, separated by "|": a field alone flips 0 and 1; after ACTIVATE it is set to 1, after
/ DEACTIVATE to 0. The target is the item named ziel_name at column ziel_x and row ziel_y (-1:
/ everywhere). comment, if given, replaces the standard message.

TSchalter {
    name = "Carved Plate"
    x = [14,8]
    y = [6,10]
    art = "trigger"
    wirkung = "ACTIVATE|brennt"
    comment = "Cut in the floor: THE STAIR TO DAYLIGHT LIES BEYOND THE BLACK GATE, FAR SOUTH-EAST."
    ziel_name = "Wall Sconce"
    ziel_x = 18
    ziel_y = 6
}
TSchalter {
    name = "Pressure Plate"
    x = 50
    y = 6
    art = "trigger"
    wirkung = "ACTIVATE|open|DEACTIVATE|locked"
    comment = "Click! Chains rattle and the portcullis to the east rises."
    ziel_name = "Portcullis"
    ziel_x = 59
    ziel_y = 6
}
TSchalter {
    name = "Pressure Plate"
    x = 42
    y = 21
    art = "trigger"
    wirkung = "ACTIVATE|brennt"
    comment = "Click! A sconce flares up among the pillars."
    ziel_name = "Wall Sconce"
    ziel_x = 46
    ziel_y = 21
}
TSchalter {
    name = "Rusty Lever"
    x = 106
    y = 19
    art = "button"
    wirkung = "ACTIVATE|open|DEACTIVATE|locked"
    comment = "You pull the lever. The sealed door to the north grinds open."
    ziel_name = "Sealed Door"
    ziel_x = 103
    ziel_y = 11
}
/ A draught on the bridge: it douses the red lamp while you stand there.
TSchalter {
    name = "Loose Flagstone"
    x = 45
    y = 39
    art = "trigger"
    wirkung = "DEACTIVATE|brennt"
    comment = "A cold gust rises from below and snuffs out the lamp!"
    ziel_name = "Red Lamp"
    ziel_x = 44
    ziel_y = 38
}
/ Stepping into the lair, the player reads where the lever is (and the pen's brazier is lit, as it
/ always is).
TSchalter {
    name = "Worn Plate"
    x = 64
    y = 51
    art = "trigger"
    wirkung = "ACTIVATE|brennt"
    comment = "Cut in the floor: THE GATE'S LEVER LIES IN THE PEN BEHIND THE BARRED DOOR TO THE WEST."
    ziel_name = "Brazier"
    ziel_x = 60
    ziel_y = 55
}
TSchalter {
    name = "Bronze Lever"
    x = 60
    y = 59
    art = "button"
    wirkung = "ACTIVATE|open|DEACTIVATE|locked"
    comment = "You heave the lever down. Far to the east the Black Gate swings open."
    ziel_name = "Black Gate"
    ziel_x = 87
    ziel_y = 55
}
TSchalter {
    name = "Stair to Daylight"
    x = 94
    y = 55
    art = "exit"
    comment = "You climb the worn stair into the daylight. You have escaped Grotmere!"
}

/ --- Teleports move whoever steps on them to target_x, target_y of this map: a pair between the
/ Well Room and the East Tower, each landing beside the other.
TTeleport { name = "Shimmering Portal"  x = 5  y = 19  target_x = 106  target_y = 4 }
TTeleport { name = "Shimmering Portal"  x = 107  y = 4  target_x = 6  target_y = 19 }

/ --- Monsters, in the order the route meets them. A kind by name (a list makes one per
/ position); x and y left out are drawn at random on an open tile.

/ First rooms: level 1 and 2.
TGegner { name = "Rat"  x = [27,29]  y = [4,7] }
TGegner { name = "Kobold"  x = 44  y = 6 }
TGegner { name = "Goblin"  x = 49  y = 3 }
TGegner { name = "Rat"  x = 9  y = 23 }
TGegner { name = "Kobold"  x = 11  y = 20 }
TGegner { name = "Bat"  x = 28  y = 20 }
TGegner { name = "Bat"  x = [64,67]  y = [5,7] }
TGegner { name = "Goblin Archer"  x = 86  y = 5 }
TGegner { name = "Goblin"  x = 105  y = 8 }
TGegner { name = "Goblin"  x = 50  y = 24 }
/ Behind the Iron Door: level 3.
TGegner { name = "Skeleton"  x = [64,68]  y = [20,24] }
TGegner { name = "Orc"  x = 80  y = 20 }
TGegner { name = "Goblin Archer"  x = 87  y = 24 }
TGegner { name = "Orc"  x = 85  y = 19 }
TGegner { name = "Skeleton"  x = 100  y = 23 }
/ Behind the Brass Door: level 4 and 5.
TGegner { name = "Troll"  x = 86  y = 42 }
TGegner { name = "Dark Mage"  x = 65  y = 38 }
TGegner { name = "Troll"  x = 41  y = 36 }
TGegner { name = "Wraith"  x = 12  y = 40 }
TGegner { name = "Hoarder"  x = 26  y = 50 }
TGegner { name = "Wraith"  x = 105  y = 40 }
TGegner { name = "Hoarder"  x = 100  y = 54 }
/ The guardian of the way out, in its pen between the door and the lever.
TGegner { name = "Minotaur"  x = 60  y = 51 }
'''


def carve(grid, x, y, value):
    if grid[y][x] == "1":
        grid[y][x] = value


def main():
    grid = [["1"] * WIDTH for _ in range(HEIGHT)]
    for x0, y0, x1, y1 in ROOMS.values():
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                grid[y][x] = "0"
    for corridor in CORRIDORS:
        for (ax, ay), (bx, by) in zip(corridor, corridor[1:]):
            assert ax == bx or ay == by, corridor
            for x in range(min(ax, bx), max(ax, bx) + 1):
                for y in range(min(ay, by), max(ay, by) + 1):
                    carve(grid, x, y, "0" if (x, y) in DOORWAYS else "2")
    for x0, y0, x1, y1 in WALLS:
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                grid[y][x] = "1"
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "bifs", "karte2.map")
    with open(out, "w", newline="\n") as f:
        f.write("%d\n%d\n" % (WIDTH, HEIGHT))
        for row in grid:
            f.write("".join(row) + "\n")
        f.write(RECORDS.lstrip("\n"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
