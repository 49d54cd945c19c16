#include "actors/treasure.hpp"

namespace grotmere {

// FIXME: the items issue builds these.
int32_t TTreasure::create(int32_t, int32_t, int32_t, int32_t) { return 0; }
int32_t TTreasure::drop_gold(int32_t, int32_t, int32_t) { return 0; }
int32_t TTreasure::drop_gegenstand(int32_t, int32_t, const TGegenstand&) { return 0; }
int32_t TTreasure::update() { return 0; }

}  // namespace grotmere
