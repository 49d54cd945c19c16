#include "replay/state_dump.hpp"

#include <algorithm>

#include "actors/player.hpp"
#include "actors/tastatur.hpp"
#include "base/text.hpp"
#include "records/record_json.hpp"
#include "world/karten_tile.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

Json texts_to_json(const auto& texts) {
    Json array = Json::array();
    for (const std::string& text : texts)
        array.push_back(latin1_to_utf8(text));
    return array;
}

// Every tile of the map rectangle, column by column, each with its position added.
Json tiles_to_json() {
    Json array = Json::array();
    for (int32_t x = 0; x < std::clamp(map_width, 0, kGridSize); ++x) {
        for (int32_t y = 0; y < std::clamp(map_height, 0, kGridSize); ++y) {
            const TKartenTile* tile = tile_grid.at(x, y);
            if (tile == nullptr) continue;
            Json entry = record_to_json(*tile);
            entry["x"] = x;
            entry["y"] = y;
            array.push_back(std::move(entry));
        }
    }
    return array;
}

}  // namespace

Json dump_state(const RunSummary& run) {
    Json dump;
    dump["passes"] = run.passes;
    dump["turns"] = run.turns;
    dump["ended"] = run.ended;
    dump["notices"] = texts_to_json(run.notices);
    dump["map_width"] = map_width;
    dump["map_height"] = map_height;
    dump["current_map"] = latin1_to_utf8(current_map);
    dump["message_lines"] = texts_to_json(message_lines);
    // The world's records join here as their subsystems land.
    dump["player"] = player ? record_to_json(*player) : Json(nullptr);
    dump["bindings"] = bindings ? record_to_json(*bindings) : Json(nullptr);
    dump["item_prototypes"] = list_to_json(*item_prototypes);
    dump["monster_prototypes"] = list_to_json(*monster_prototypes);
    dump["tiles"] = tiles_to_json();
    dump["map_records"] = list_to_json(*map_records);
    dump["monsters"] = list_to_json(*monsters);
    dump["treasures"] = list_to_json(*treasures);
    dump["missiles"] = list_to_json(*missiles);
    return dump;
}

}  // namespace grotmere
