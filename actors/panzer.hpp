// TPanzer, armour: its rs adds to the wearer's armour class.
#pragma once

#include "world/gegenstand.hpp"

namespace grotmere {

class TPanzer : public TGegenstand {
public:
    int32_t rs = 0;
};

}  // namespace grotmere
