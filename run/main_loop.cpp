#include "run/main_loop.hpp"

#include <cstdint>

#include "actors/buff.hpp"
#include "actors/gegner.hpp"
#include "actors/geschoss.hpp"
#include "actors/player.hpp"
#include "actors/treasure.hpp"
#include "actors/world_passes.hpp"
#include "aids/aid_keys.hpp"
#include "aids/window_aids.hpp"
#include "platform/drawing.hpp"
#include "platform/key_codes.hpp"
#include "platform/keyboard.hpp"
#include "platform/platform.hpp"
#include "view/frame_inputs.hpp"
#include "view/screen.hpp"
#include "world/door.hpp"
#include "world/kamera.hpp"
#include "world/karte.hpp"
#include "world/tile_writes.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

constexpr int32_t kSightRadius = 5;

// Start-up always makes the player and the camera; a test may run passes on a world without them.
bool player_used_turn() {
    return player && player->action() != 0;
}

void see_from_player() {
    if (player && kamera) kamera->in_sight(player->x, player->y, kSightRadius);
}

// The world's answer to a turn the player used.
void run_turn_cycle() {
    TGegner::update();
    TBuff::update(0);
    if (player) player->updatehealth();
    TKarte::darken_sight();
    see_from_player();
    if (player) see_own_tile(player->x, player->y);
    update_switches();
    // A door opened this turn clears the way for the second look.
    TDoor::update();
    see_from_player();
    update_lights();
    TTreasure::update();
}

void draw_frame() {
    clear_window();
    draw_screen();
    draw_window_aids();
}

// The frame's inputs as the view states them, and what the window's aids draw around the rules.
FrameMarks frame_marks() {
    FrameMarks marks = frame_inputs();
    marks.add(static_cast<int64_t>(aid_picture_version()));
    return marks;
}

bool world_unchanged_since_frame(bool turn_taken) {
    return frame_watch.noted && !frame_watch.missiles_flew && !turn_taken &&
           frame_marks() == frame_watch.marks;
}

// Every pass, turn or not. Missiles fly and silent corrections run out in real time here. A pass
// that would draw the picture already on the screen draws and presents nothing; the camera is
// centred first, which draws nothing either. When nothing the frame shows has changed since the
// last one, the frame is not even looked at, which keeps an idle window quiet on a large map.
void run_frame_cycle(bool world_unchanged) {
    if (player && kamera) kamera->set(player->x, player->y);
    if (draw_if_changed(draw_frame,
                        world_unchanged ? FrameWorld::Unchanged : FrameWorld::MayHaveChanged))
        present_frame();
    frame_watch =
        FrameWatch{.noted = true, .marks = frame_marks(), .missiles_flew = !missiles->empty()};
    TBuff::update(1);
    TKarte::update();
    if (player) player->update();
    TGeschoss::update();
}

// The escape is told after the pass's frame, so the last picture shows the way out; a death in
// the same pass has already ended it.
std::optional<GameEnd> escape_reached() {
    if (!escape_text) return std::nullopt;
    notify(*escape_text);
    return GameEnd::Escaped;
}

std::optional<GameEnd> end_requested() {
    // Exactly one hit: the count is read and reset here even when it is not 1.
    if (key_hit(key::kEscape) == 1) return GameEnd::Escape;
    if (close_requested() == 1) return GameEnd::Close;
    return std::nullopt;
}

}  // namespace

const char* game_end_name(GameEnd end) {
    switch (end) {
        case GameEnd::Escape:
            return "escape";
        case GameEnd::Close:
            return "close";
        case GameEnd::Death:
            return "death";
        case GameEnd::Escaped:
            return "escaped";
    }
    return "script";
}

PassResult run_pass() {
    PassResult result;
    try {
        timer_wait(frame_timer);
        toggle_fullscreen_on_request();
        // The walking aids hand over this pass's key before the gate below reads any key.
        aid_pass();
        // The gate: with an overlay open (or just asked for) the pass shows it and nothing else.
        if (overlay_takes_the_pass()) {
            frame_watch.noted = false;
            if (run_overlay_pass()) result.end = GameEnd::Close;
            return result;
        }
        result.turn_taken = player_used_turn();
        const bool world_unchanged = world_unchanged_since_frame(result.turn_taken);
        if (result.turn_taken) {
            run_turn_cycle();
            note_turn_taken();
        }
        run_frame_cycle(world_unchanged);
        result.end = escape_reached();
        if (!result.end) result.end = end_requested();
    } catch (const ProgramExit& exit) {
        // The game's own exit (the player's death) ends the pass where it stands; a failure of
        // the platform goes on to the entry point with its status.
        if (exit.status != 0) throw;
        result.end = GameEnd::Death;
    }
    return result;
}

}  // namespace grotmere
