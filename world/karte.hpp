// TKarte, the map object. It has no fields; its terrain constants name a tile's ID. Building one
// builds the map's tiles, which is why data files may not create it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "records/record.hpp"

namespace grotmere {

class TKarte : public Record {
public:
    // The map object, with a fresh tile for every cell of the map_width x map_height rectangle:
    // the registry's factory. The constructor itself builds nothing.
    static std::shared_ptr<TKarte> construct();
    // Loads the map file with its monsters; defined with the passes that know them
    // (actors/world_passes.cpp). 1 when the file is refused, which is reported.
    int32_t load_map(const std::string& file);
    int32_t randomfill(int32_t count);
    static int32_t is_begehbar(int32_t x, int32_t y);
    static int32_t darken();
    // The turn's darkening: sight values now, light values by the next light pass
    // (update_lights), the next to read or write them.
    static int32_t darken_sight();
    static int32_t update();

    static constexpr int32_t MAP_RAUM = 0;
    static constexpr int32_t MAP_SOLID = 1;
    static constexpr int32_t MAP_GANG = 2;
};

}  // namespace grotmere
