// TLeuchte, a light source: carried by the player, lying in a treasure heap or placed on a tile.
#pragma once

#include <cstdint>

#include "world/gegenstand.hpp"

namespace grotmere {

class TLeuchte : public TGegenstand {
public:
    int32_t toggle(int32_t on);
    int32_t erleuchte(int32_t x, int32_t y);

    int32_t leuchtkraft = 100;
    int32_t r = 100;
    int32_t g = 100;
    int32_t b = 100;
    int32_t reichweite = 5;
    int32_t brenndauer = -1;  // turns left; -1 burns for ever, 0 is burnt out
    int32_t brennt = 1;
};

// The lights lying on the map's tiles shine, in the order of a scan column by column (x outer, y
// inner). Burnt-out lights stay on their tiles. The whole light pass, carried and heaped lights
// first, is update_lights (actors/world_passes.hpp).
int32_t shine_lying_lights();

}  // namespace grotmere
