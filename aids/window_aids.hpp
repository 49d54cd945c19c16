// The window's aids around the rules: the help, the message history, the side panel, the
// first-start hint and the fullscreen keys. run_pass (run/main_loop.cpp) calls them; they never
// run a rule and read the world only to draw it.
#pragma once

#include <any>
#include <cstdint>
#include <string>

#include "platform/key_codes.hpp"
#include "view/help_overlay.hpp"

namespace grotmere {

inline constexpr int32_t kHelpKey = key::function_key(1);

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
    // Said on the panel's last line, before the hint, until the player's first turn.
    std::string first_screen_notice;
};

enum class Overlay { None, Help, History };

// Also closes any open overlay and stops every aid (aids/aid_keys.hpp).
void set_window_aids(const WindowAids& aids);
Overlay open_overlay();
// Whether the key-binding file gives this key to a command; such a key keeps its command.
bool key_bound(int32_t code);
// The window's keys the binding file leaves free, for the help and the page.
WindowKeys free_window_keys();

// A copy of the aids' state, and putting one back: for a snapshot of the game held in memory.
std::any window_aids_state();
void put_back_window_aids_state(const std::any& kept);
// What a snapshot kept beside a recording holds of it: the overlay open and how far back the
// history is scrolled (a continued game takes the rest from its start).
struct OverlayPlace {
    Overlay open = Overlay::None;
    int32_t history_scroll = 0;
};
OverlayPlace overlay_place();
void put_back_overlay_place(const OverlayPlace& place);

// --- for run_pass ---------------------------------------------------------------------------
// F11, or Return typed with Alt held, switches to and from fullscreen when the binding file leaves
// those keys free; whether the aids are on or not, since it changes no picture.
void toggle_fullscreen_on_request();
// Opens the overlay a free F1 or F2 asks for; true when an overlay is open, so that this pass
// belongs to it.
bool overlay_takes_the_pass();
// The overlay's keys and picture for one pass; true when the window asked to close.
bool run_overlay_pass();
// What the aids add to an ordinary frame: the side panel.
void draw_window_aids();
// The player took a turn: what the first screen says has been read, and the depth reached noted.
void note_turn_taken();

// In a generated dungeon (its map file names its depths), the depth the player stands on and the
// deepest reached this game, of how many; all 0 in a dungeon made by hand.
struct DepthReached {
    int32_t now = 0;
    int32_t deepest = 0;
    int32_t of = 0;
};
DepthReached depth_reached();

}  // namespace grotmere
