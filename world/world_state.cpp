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

void reset_world_for_fuzzing() {
    world_state = WorldState{};
    reset_outside_state();
}

void reset_world() {
    reset_world_for_fuzzing();
    set_pixels_wanted(true);
    framebuffer().fill(Rgb{0, 0, 0});
}

}  // namespace grotmere
