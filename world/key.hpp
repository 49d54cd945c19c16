// TKey, a key item; it fits every door with the same key_id. Like TDoor it declares a second
// `preis` of its own that hides the inherited one.
#pragma once

#include <cstdint>

#include "world/gegenstand.hpp"

namespace grotmere {

class TKey : public TGegenstand {
public:
    int32_t preis = -1000;
    int32_t key_id = 0;
};

}  // namespace grotmere
