#include "world/world_state.hpp"

#include "base/random.hpp"
#include "platform/canvas.hpp"
#include "platform/drawing.hpp"
#include "platform/keyboard.hpp"

namespace grotmere {

WorldState world_state;

namespace {

void reset_outside_state() {
    load_problems.clear();
    set_random_state(kUnseededRandomState);
    keyboard() = KeyboardState{};
    take_in_events_only_at_wait(false);
    set_color(255, 255, 255);
    set_window_caption("");
}

}  // namespace

void reset_world() {
    world_state = WorldState{};
    reset_outside_state();
    framebuffer().fill(Rgb{0, 0, 0});
}

void reset_world_keeping_grid() {
    TileGrid grid = std::move(world_state.tile_grid);
    grid.clear_tiles();
    // Every other member as a new WorldState has it.
    world_state = WorldState{.message_lines = {},
                             .message_history = {},
                             .app_title = {},
                             .frame_timer = {},
                             .tile_grid = std::move(grid),
                             .current_map = {},
                             .karte = {},
                             .kamera = {},
                             .chronicle = {},
                             .player = {},
                             .bindings = {},
                             .escape_text = {}};
    reset_outside_state();
}

}  // namespace grotmere
