// TKartenTile, one cell of the map. The tile owns its object list (lights, doors, switches,
// teleports and furniture placed on it); sight and light values are rewritten every turn.
#pragma once

#include <cstdint>
#include <string>

#include "records/record_list.hpp"

namespace grotmere {

class TKartenTile : public Record {
public:
    int32_t begehbar = 1;
    int32_t sichtbar = 0;
    int32_t erfasst = 0;
    int32_t lichtstaerke = 0;
    int32_t lichtr = 0;
    int32_t lichtg = 0;
    int32_t lichtb = 0;
    int32_t ID = 0;  // terrain: TKarte::MAP_RAUM, MAP_SOLID, MAP_GANG or another digit
    std::string name;
    std::string beschreibung;
    // Watched, so that the index of the tiles holding objects learns of every object placed.
    ListRef gegenstaende = new_watched_list();
    std::string symbol;
};

}  // namespace grotmere
