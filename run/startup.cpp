#include "run/startup.hpp"

#include <map>
#include <string>

#include "actors/player.hpp"
#include "actors/world_passes.hpp"
#include "base/random.hpp"
#include "base/text.hpp"
#include "base/text_file.hpp"
#include "platform/drawing.hpp"
#include "records/field_registry.hpp"
#include "run/record_types.hpp"
#include "run/startup_definitions.hpp"
#include "world/gegenstand.hpp"
#include "world/kamera.hpp"
#include "world/karte.hpp"
#include "world/leuchte.hpp"
#include "world/map_file.hpp"
#include "world/world_state.hpp"

namespace grotmere {

std::string read_app_title(const std::string& build_counter_path) {
    std::string number_line;
    std::string date_line;
    if (TextFileHandle file = open_text_file(build_counter_path)) {
        number_line = read_line(*file);
        date_line = read_line(*file);
        close_file(file);
    }
    return "Grotmere Alpha Build " + int_to_text(text_to_int(number_line)) + "/" + date_line;
}

namespace {

// The item records after the player in the player file name prototypes; only their name and
// count are read. A record's anzahl is 1 unless it sets another, and an explicit 0 keeps the
// prototype's count. Names without a prototype add nothing and say nothing. Records of one name
// stack, and a stack wraps as every count does; a stack that wrapped is warned about.
void give_starting_inventory() {
    std::map<std::string, int64_t> totals;
    player_list->for_each_of<TGegenstand>([&](std::shared_ptr<TGegenstand>& record) {
        std::shared_ptr<TGegenstand> item = TGegenstand::create_from_proto(record->name);
        if (!item) return;
        if (record->anzahl != 0) item->anzahl = record->anzahl;
        if (player->add_to_inventory(item, 1) == 1) totals[item->name] += item->anzahl;
    });
    LoadProblems wrapped;
    for (const auto& held : *player->inventory) {
        if (!held || totals[held->name] == held->anzahl) continue;
        wrapped.push_back({kPlayerFile, 0,
                           "the starting stack of " + shown_text(held->name) + " adds up to " +
                               std::to_string(totals[held->name]) + ", beyond 32 bits: it holds " +
                               int_to_text(held->anzahl)});
    }
    report_load_problems(wrapped);
}

}  // namespace

std::optional<StartupFailure> start_game(const StartupOptions& options) {
    // The record types; a fresh world already holds the program-wide lists.
    register_record_types();

    seed_random(options.seed ? *options.seed : millisecs());
    app_title = read_app_title("build.cnt");
    set_window_caption(app_title);

    if (auto failure = load_prototypes()) return failure;

    message_lines.fill("");
    message_history.reserve_storage();

    // The map object with its first 80 x 25 tiles.
    karte = TKarte::construct();

    frame_timer = create_timer(20);

    // The view is fixed before the map is read, so it is 40 x 24 cells whatever the map's size.
    kamera = new_record<TKamera>();
    kamera->set_viewport(1, 1, map_width * 5 + 2, map_height * 10 - 5);
    // A map that cannot be read, or does not fit the grid, leaves nothing to play on.
    if (auto refusal = load_map_file(kMapFile))
        return StartupFailure{refusal->file +
                              (refusal->line > 0 ? ":" + int_to_text(refusal->line) : "") + ": " +
                              refusal->message};

    if (auto failure = load_bindings_and_player()) return failure;
    // Every rule reads the tiles around the player; a player off the map has none.
    if (!inside_map(player->x, player->y)) {
        return StartupFailure{kPlayerFile + " places the player at (" + int_to_text(player->x) +
                              "|" + int_to_text(player->y) + "), outside the " +
                              int_to_text(map_width) + " x " + int_to_text(map_height) + " map"};
    }
    give_starting_inventory();
    // The first frame shows what the player sees.
    kamera->in_sight(player->x, player->y, 5);
    update_lights();
    // Walkability is otherwise first worked out after the first pass's action, which would let
    // the player walk through a closed door in that one pass.
    TKarte::update();

    try {
        open_window(kWindowWidth, kWindowHeight, app_title);
    } catch (const ProgramExit& exit) {
        return StartupFailure{"the window could not be opened", exit.status == 0 ? 1 : exit.status};
    }
    return std::nullopt;
}

}  // namespace grotmere
