// What the player knows of the map, as the map view shows it: the cells seen, the walls and doors
// where sight stopped beside them, the monsters in sight. The window's aids that walk for the
// player or describe a cell read the map through these only, so they never use knowledge the
// player has not got.
#pragma once

#include <cstdint>
#include <vector>

namespace grotmere {

class TDoor;
class TGegner;
class TSchalter;
class TTeleport;

// The cell was seen at some time.
bool cell_seen(int32_t x, int32_t y);
// The cell was seen, or sight stopped on it beside a cell seen (a wall, a closed door).
bool cell_known(int32_t x, int32_t y);
// Seen, not rock, and free to walk onto as far as the player can tell: an open door lets one
// through, a closed one does not.
bool known_floor(int32_t x, int32_t y);
// The first door of the cell that is not hidden, once the cell is known; else null.
const TDoor* known_door(int32_t x, int32_t y);
// A teleport that is not hidden, on a known cell; else null.
const TTeleport* known_teleport(int32_t x, int32_t y);
// A switch on a cell the player has seen: a switch is found by finding its place.
const TSchalter* known_switch(int32_t x, int32_t y);
// The map shows the monster: its cell in sight, and lit or right beside the player.
bool monster_shown(const TGegner& monster);
// The first monster shown on the cell, or null.
const TGegner* monster_shown_at(int32_t x, int32_t y);
// The monsters the map shows, in the order of the monster list; only compared, never followed.
std::vector<const TGegner*> monsters_shown();

}  // namespace grotmere
