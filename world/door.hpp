// TDoor, a door standing in its tile's object list and in map_records. It declares a second
// `preis` of its own that hides the inherited one: lookups by name find the door's own field,
// while TGegenstand::preis stays a distinct value in every door.
#pragma once

#include <cstdint>

#include "world/gegenstand.hpp"

namespace grotmere {

class TDoor : public TGegenstand {
public:
    static int32_t update();

    int32_t open = 0;
    int32_t locked = 0;
    int32_t secret = 0;
    int32_t cloak = 0;  // subtracted from the roll that finds a hidden door
    int32_t key_id = 0;
    int32_t preis = -1000;
};

}  // namespace grotmere
