// The main loop, one pass at a time. A pass waits for the 20 Hz timer, lets the player act, runs
// the world's turn when the player used one, then draws and does the per-pass upkeep. The real
// game and grotmere-sim both call run_pass until it reports an end, so the simulator runs the
// game's own loop and not a copy of it.
#pragma once

#include <cstdint>
#include <optional>

#include "aids/window_aids.hpp"

namespace grotmere {

// Escaped: the player stood on an exit switch at the end of a turn; the notice has been shown.
enum class GameEnd { Escape, Close, Death, Escaped };

struct PassResult {
    bool turn_taken = false;
    std::optional<GameEnd> end;
};

PassResult run_pass();

// "escape", "close", "death" or "escaped": how the dump and the morgue file name an end.
const char* game_end_name(GameEnd end);

}  // namespace grotmere
