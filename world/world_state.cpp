#include "world/world_state.hpp"

#include "base/random.hpp"
#include "platform/canvas.hpp"
#include "platform/drawing.hpp"
#include "platform/keyboard.hpp"

namespace grotmere {

WorldState world_state;

void reset_world() {
    world_state = WorldState{};
    load_problems.clear();
    set_random_state(kUnseededRandomState);
    keyboard() = KeyboardState{};
    take_in_events_only_at_wait(false);
    framebuffer().fill(Rgb{0, 0, 0});
    set_color(255, 255, 255);
    set_window_caption("");
}

}  // namespace grotmere
