// TMunition, ammunition: its dmg adds to the ranged weapon's damage for each missile fired with it.
#pragma once

#include "world/gegenstand.hpp"

namespace grotmere {

class TMunition : public TGegenstand {
public:
    int32_t dmg = 0;
};

}  // namespace grotmere
