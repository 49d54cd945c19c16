#include "view/message_view.hpp"

#include "platform/drawing.hpp"
#include "world/world_state.hpp"

namespace grotmere {

int32_t draw_messages(int32_t x, int32_t y) {
    for (int32_t i = 0; i < kMessageLines; ++i) {
        int32_t grey = 255 - 30 * i;
        set_color(grey, grey, grey);
        draw_text(message_lines[i], x, y + 10 * i);
    }
    set_color(255, 255, 255);
    return 0;
}

}  // namespace grotmere
