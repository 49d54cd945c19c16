// The first digest of the checkpoints, kept exactly as recordings made with it wrote it, so they
// still check: never change it. New recordings carry the digest of state_digest.cpp.
#include "replay/state_digest.hpp"

#include <algorithm>
#include <string>

#include "actors/player.hpp"
#include "base/fnv_hash.hpp"
#include "base/random.hpp"
#include "records/record_json.hpp"
#include "world/karten_tile.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

// The records as the dump writes them, field by field in the registry's order.
void add_list(Fnv1a& hash, const ListRef& list) {
    hash.add_text(list ? list_to_json(*list).dump() : std::string());
}

void add_tiles(Fnv1a& hash) {
    for (int32_t x = 0; x < std::clamp(map_width, 0, kGridSize); ++x) {
        for (int32_t y = 0; y < std::clamp(map_height, 0, kGridSize); ++y) {
            const TKartenTile* tile = tile_grid.at(x, y);
            if (tile == nullptr) continue;
            for (int32_t value : {tile->ID, tile->begehbar, tile->sichtbar, tile->erfasst,
                                  tile->lichtstaerke, tile->lichtr, tile->lichtg, tile->lichtb})
                hash.add(value);
        }
    }
}

}  // namespace

uint64_t first_state_digest() {
    Fnv1a hash;
    hash.add(random_state());
    hash.add(map_width);
    hash.add(map_height);
    hash.add_text(current_map);
    for (const std::string& line : message_lines)
        hash.add_text(line);
    hash.add_text(player ? record_to_json(*player).dump() : std::string());
    add_list(hash, map_records);
    add_list(hash, monsters);
    add_list(hash, treasures);
    add_list(hash, missiles);
    add_tiles(hash);
    return hash.value();
}

}  // namespace grotmere
