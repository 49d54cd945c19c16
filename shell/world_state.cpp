#include "shell/world_state.hpp"

#include "ui/canvas.hpp"
#include "ui/keyboard.hpp"
#include "ui/random.hpp"

namespace grotmere {

WorldState world_state;

void reset_world() {
    world_state = WorldState{};
    set_random_state(kUnseededRandomState);
    keyboard() = KeyboardState{};
    framebuffer().fill(Rgb{0, 0, 0});
    set_color(255, 255, 255);
    set_window_caption("");
}

}  // namespace grotmere
