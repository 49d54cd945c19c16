// TWaffe, a weapon. A reichweite of 0 makes a melee weapon; above 0 the weapon shoots missiles
// that far, using the ammunition whose names `munition` lists, each between hyphens ("-Arrow-").
#pragma once

#include "world/gegenstand.hpp"

namespace grotmere {

class TWaffe : public TGegenstand {
public:
    // A weapon with these values and the defaults otherwise. Play makes its weapons from the
    // prototypes instead.
    static std::shared_ptr<TWaffe> create(const std::string& name, int32_t dmg, int32_t preis);

    int32_t dmg = 0;
    int32_t reichweite = 0;
    std::string munition;
};

}  // namespace grotmere
