#include "shell/main_loop.hpp"

#include <cstdint>

#include "shell/world_state.hpp"
#include "ui/message_log.hpp"
#include "ui/platform.hpp"

namespace grotmere {

namespace {

constexpr int32_t kEscapeKey = 27;

// FIXME: the player's action routine comes with the player; until then no key uses a turn.
int32_t take_player_action() {
    return 0;
}

// The world's answer to a turn the player used, in this order: monsters, per-turn buff tick,
// the player's health step, darkening, sight, switches, doors, sight again, light, treasure
// clean-up. The steps join as their subsystems land.
void run_turn_cycle() {}

// Every pass, turn or not.
void run_frame_cycle() {
    clear_window();
    draw_screen();
    present_frame();
}

std::optional<GameEnd> end_requested() {
    // Exactly one hit: the count is read and reset here even when it is not 1.
    if (key_hit(kEscapeKey) == 1) return GameEnd::Escape;
    if (close_requested() == 1) return GameEnd::Close;
    return std::nullopt;
}

}  // namespace

int32_t draw_screen() {
    draw_messages(0, 400);
    return 0;
}

PassResult run_pass() {
    PassResult result;
    try {
        timer_wait(frame_timer);
        result.turn_taken = take_player_action() != 0;
        if (result.turn_taken) run_turn_cycle();
        run_frame_cycle();
        result.end = end_requested();
    } catch (const ProgramExit& exit) {
        // The game's own exit (the player's death) ends the pass where it stands; a failure of
        // the platform goes on to the entry point with its status.
        if (exit.status != 0) throw;
        result.end = GameEnd::Death;
    }
    return result;
}

}  // namespace grotmere
