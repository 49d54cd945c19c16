// TGeschoss, a missile in flight. It keeps no reference to its shooter, so it can strike anyone
// in its path.
#pragma once

#include <cstdint>

#include "records/record.hpp"

namespace grotmere {

class TGeschoss : public Record {
public:
    // A missile on the shooter's tile (x, y), not yet flown, appended to `missiles`; it takes its
    // first step in the missile pass at the end of the same pass.
    static int32_t create(int32_t richtung, int32_t reichweite, int32_t dmg, int32_t x, int32_t y,
                          int32_t skill);
    // The missile pass, every pass of the main loop: each missile steps one tile and is tested
    // against range, walls, the monsters and the player on its tile, in that order. A missile
    // leaves `missiles` when it stops: off the map, at the end of its range, in a wall, or at the
    // first tile with a monster or the player, whether it strikes or not.
    static int32_t update();

    int32_t x = 0;
    int32_t y = 0;
    int32_t dmg = 0;
    int32_t reichweite = 0;
    int32_t flugweg = 0;
    int32_t richtung = 0;  // 1 left, 2 right, 3 up, 4 down
    int32_t skill = 0;
};

}  // namespace grotmere
