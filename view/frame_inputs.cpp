#include "view/frame_inputs.hpp"

#include "actors/player.hpp"
#include "platform/keyboard.hpp"

namespace grotmere {

// Keys change the world only through hits taken, which change the keyboard's version; without
// them the action routine writes only the player's use and attack modes. The upkeep after a frame
// changes buffs (the caps' corrections and their per-pass tick), the player's health, defence and
// level, and moves missiles; the walkability it recomputes is not shown. A line logged by
// anything at all also counts.
FrameMarks frame_inputs() {
    FrameMarks marks;
    marks.add(static_cast<int64_t>(keyboard().version()));
    marks.add(static_cast<int64_t>(message_history.version()));
    marks.add(static_cast<int64_t>(buff_changes));
    if (player) {
        for (int32_t shown : {player->x, player->y, player->hp, player->defend, player->level,
                              player->usemode, player->attackmode})
            marks.add(shown);
    }
    return marks;
}

}  // namespace grotmere
