// TKarte, the map object. It has no fields; its terrain constants name a tile's ID. Building one
// builds the map's tiles, which is why data files may not create it.
#pragma once

#include <cstdint>

#include "shell/record.hpp"

namespace grotmere {

class TKarte : public Record {
public:
    static constexpr int32_t MAP_RAUM = 0;
    static constexpr int32_t MAP_SOLID = 1;
    static constexpr int32_t MAP_GANG = 2;
};

}  // namespace grotmere
