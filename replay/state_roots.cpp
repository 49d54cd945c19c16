#include "replay/state_roots.hpp"

#include "actors/player.hpp"
#include "actors/tastatur.hpp"
#include "base/random.hpp"

namespace grotmere {

void read_state_roots(StateReader& reader) {
    reader.number("map_width", map_width);
    reader.number("map_height", map_height);
    reader.text("current_map", current_map);
    reader.texts("message_lines", message_lines.data(), message_lines.size());
    reader.record("player", player.get());
    reader.record("bindings", bindings.get());
    reader.list("item_prototypes", *item_prototypes);
    reader.list("monster_prototypes", *monster_prototypes);
    reader.tiles("tiles");
    reader.list("map_records", *map_records);
    reader.list("monsters", *monsters);
    reader.list("treasures", *treasures);
    reader.list("missiles", *missiles);
    reader.random_state(grotmere::random_state());
}

}  // namespace grotmere
