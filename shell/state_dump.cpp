#include "shell/state_dump.hpp"

#include "actors/player.hpp"
#include "shell/record_json.hpp"
#include "shell/world_state.hpp"
#include "ui/tastatur.hpp"
#include "ui/text.hpp"

namespace grotmere {

namespace {

Json texts_to_json(const auto& texts) {
    Json array = Json::array();
    for (const std::string& text : texts)
        array.push_back(latin1_to_utf8(text));
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
    return dump;
}

}  // namespace grotmere
