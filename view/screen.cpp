#include "view/screen.hpp"

#include "actors/player.hpp"
#include "view/message_view.hpp"
#include "world/kamera.hpp"
#include "world/world_state.hpp"

namespace grotmere {

int32_t draw_screen() {
    TKamera::render_all();
    if (player) player->showstats();
    draw_messages(0, 400);
    if (player) {
        player->show_inventory();
        player->show_worn();
    }
    return 0;
}

}  // namespace grotmere
