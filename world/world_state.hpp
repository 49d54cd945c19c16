// The program-wide objects of the game, in one place.
//
// Every subsystem reaches them by their own names (message_lines, map_width, ...), which are
// references into the one WorldState. reset_world() gives a fresh world with one call, so a test
// never depends on what an earlier test left behind. Start-up fills the world; the main loop and
// the rules change it; nothing else owns game state.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/platform.hpp"
#include "records/load_problems.hpp"
#include "records/record_list.hpp"
#include "world/chronicle.hpp"
#include "world/light_pass.hpp"
#include "world/lit_cells_cache.hpp"
#include "world/message_history.hpp"
#include "world/tile_grid.hpp"
#include "world/tile_tracking.hpp"

namespace grotmere {

class TKamera;
class TKarte;
class TPlayer;
class TTastatur;

inline constexpr int32_t kMessageLines = 9;

// What the frame's drawing read of the world outside the tiles and lists when a frame was last
// drawn, in the order and form view/frame_inputs.hpp states it: versions and values that change
// whenever anything the frame shows may have changed outside a turn. A fresh world has noted
// nothing.
struct FrameMarks {
    std::array<int64_t, 16> values{};
    size_t count = 0;

    // Throws std::out_of_range past the last place, so that an input cannot be lost.
    void add(int64_t value) { values.at(count++) = value; }
    friend bool operator==(const FrameMarks&, const FrameMarks&) = default;
};

struct FrameWatch {
    bool noted = false;
    FrameMarks marks;
    // Missiles were in the air after the frame: the upkeep moved them.
    bool missiles_flew = false;
};

// The log's lines with their storage taken at once, as long as the history's slots, so that the
// lines of a turn fit without asking for memory.
inline std::array<std::string, kMessageLines> reserved_message_lines() {
    std::array<std::string, kMessageLines> lines;
    for (std::string& line : lines)
        line.reserve(MessageHistory::kSlot);
    return lines;
}

struct WorldState {
    // The message log, index 0 the newest line.
    std::array<std::string, kMessageLines> message_lines = reserved_message_lines();
    // Every line logged since the start, for the history view; no rule reads it.
    MessageHistory message_history;
    std::string app_title;
    FrameTimer frame_timer;

    // The map's tiles, indexed [x, y]; empty until the map object builds them.
    TileGrid tile_grid;
    // Which cells the whole-map walks have work on (world/tile_tracking.hpp).
    TileTracking tile_tracking;
    // The cells each lying light lit, kept while the walls stand (world/lit_cells_cache.hpp).
    LitCellsCache lit_cells_cache;
    // The last light pass's shinings, which the tiles' light values follow from
    // (world/light_pass.hpp).
    KeptLight kept_light;
    // Map size in tiles; these values stand until a map file is loaded.
    int32_t map_width = 80;
    int32_t map_height = 25;
    std::string current_map;

    // The program-wide lists; each owns the records in it.
    ListRef map_records = new_list();
    ListRef cameras = new_list();
    ListRef monster_prototypes = new_list();
    ListRef monsters = new_list();
    ListRef treasures = new_list();
    ListRef player_list = new_list();
    ListRef binding_list = new_list();
    ListRef missiles = new_list();
    ListRef item_prototypes = new_list();
    // The map object and the map view, made at start-up.
    std::shared_ptr<TKarte> karte;
    std::shared_ptr<TKamera> kamera;
    // The run's story beside the rules: what hurt the player last, the monsters slain.
    Chronicle chronicle;
    // The first records of player_list and binding_list, set at start-up.
    std::shared_ptr<TPlayer> player;
    std::shared_ptr<TTastatur> bindings;
    // Set by an exit switch the player stands on at the end of a turn: the text that tells the
    // player of the escape. The main loop ends the game with it once the pass is drawn.
    std::optional<std::string> escape_text;
    // Raised whenever a buff is attached or counted down: two equal readings mean no buff changed
    // in between. No rule reads it.
    uint64_t buff_changes = 0;
    FrameWatch frame_watch;
};

extern WorldState world_state;

inline auto& message_lines = world_state.message_lines;
inline MessageHistory& message_history = world_state.message_history;
inline std::string& app_title = world_state.app_title;
inline FrameTimer& frame_timer = world_state.frame_timer;
inline TileGrid& tile_grid = world_state.tile_grid;
inline TileTracking& tile_tracking = world_state.tile_tracking;
inline LitCellsCache& lit_cells_cache = world_state.lit_cells_cache;
inline KeptLight& kept_light = world_state.kept_light;
inline int32_t& map_width = world_state.map_width;
inline int32_t& map_height = world_state.map_height;
inline std::string& current_map = world_state.current_map;
inline ListRef& map_records = world_state.map_records;
inline ListRef& cameras = world_state.cameras;
inline ListRef& monster_prototypes = world_state.monster_prototypes;
inline ListRef& monsters = world_state.monsters;
inline ListRef& treasures = world_state.treasures;
inline ListRef& player_list = world_state.player_list;
inline ListRef& binding_list = world_state.binding_list;
inline ListRef& missiles = world_state.missiles;
inline ListRef& item_prototypes = world_state.item_prototypes;
inline std::shared_ptr<TKarte>& karte = world_state.karte;
inline std::shared_ptr<TKamera>& kamera = world_state.kamera;
inline std::shared_ptr<TPlayer>& player = world_state.player;
inline std::shared_ptr<TTastatur>& bindings = world_state.bindings;
inline std::optional<std::string>& escape_text = world_state.escape_text;
inline uint64_t& buff_changes = world_state.buff_changes;
inline FrameWatch& frame_watch = world_state.frame_watch;

// Code outside the passes (a test, a tool) that changes the world calls this, so that nothing
// trusts what was noted before: the next pass looks at the frame again instead of trusting what
// the main loop noted of the last one, and the tracker walks the whole map once more. A tile is
// best written through write_tile (world/tile_writes.hpp), which calls it.
inline void world_changed_outside_passes() {
    frame_watch.noted = false;
    tile_tracking.everything_changed();
}

// A fresh world: every program-wide object as before start-up, the random generator unseeded, no
// key pending, no load problem, the framebuffer black and the drawing colour white. The lower
// layers keep their own few program-wide objects (the generator's state, the keyboard, the
// framebuffer, `load_problems`); this one call resets them too.
void reset_world();

// As reset_world, but cheap enough to run before every input of a fuzzer: the frame is not
// cleared.
void reset_world_for_fuzzing();

}  // namespace grotmere
