// The main loop, one pass at a time. A pass waits for the 20 Hz timer, lets the player act, runs
// the world's turn when the player used one, then draws and does the per-pass upkeep. The real
// game and grotmere-sim both call run_pass until it reports an end, so the simulator runs the
// game's own loop and not a copy of it.
#pragma once

#include <cstdint>
#include <optional>

namespace grotmere {

enum class GameEnd { Escape, Close, Death };

struct PassResult {
    bool turn_taken = false;
    std::optional<GameEnd> end;
};

PassResult run_pass();

// What the window shows and does around the rules: the help (F1), the message history (F2), the
// side panel and the first-start hint. Off by default and with --classic: the passes are then
// exactly the game's own. Each window key works only while the key-binding file leaves it free.
//
// While an overlay is open no pass of the rules runs: no action, no turn, no upkeep, no missile
// moves. Keys act only on the overlay, and Escape closes it instead of ending the game; a close
// request from the window still ends it. Hits of other keys made while it is open are dropped.
struct WindowAids {
    bool on = false;
    bool first_start_hint = false;  // "F1: help" in the side panel until the help is opened
};

enum class Overlay { None, Help, History };

// Also closes any open overlay.
void set_window_aids(const WindowAids& aids);
Overlay open_overlay();

}  // namespace grotmere
