// The aids that ask before they act: whether to end the game (Escape), which stack of the heaps
// around to pick up (P), which stack of the pack to drop whole (D) and which monster to shoot at
// (F). While one is open it takes every key (aids/aid_keys.cpp hands them over), so no turn
// passes, as with the look cursor. What it decides goes to the game as bound key presses: the
// pack's and the bow's errands through the walking aids (aids/aid_walk.hpp), the end as one
// Escape hit, which a recording holds as the player's own.
#pragma once

#include <cstdint>
#include <optional>

#include "world/tile_tracking.hpp"

namespace grotmere {

enum class Prompt { None, EndGame, Pick, Drop, Target };

inline constexpr int32_t kFireKey = 'F';
inline constexpr int32_t kDropStackKey = 'D';
inline constexpr int32_t kPickKey = 'P';
inline constexpr int32_t kYesKey = 'Y';

Prompt open_prompt();

// Each opens its prompt, or says on the walking aids' line why there is nothing to ask; picking
// from the heaps around asks only when they hold more than one stack.
void ask_to_end();
void offer_pick();
void ask_drop();
void aim();

// A key pressed while a prompt is open. The modifiers alone answer nothing.
void prompt_key(int32_t code);
void close_prompt();

// For the aids' pass: the Escape of a yes, handed to the game.
void prompt_pass();
// Changes whenever what the prompt draws may have changed.
uint64_t prompt_version();
// The target's cell while the player aims.
std::optional<MapCell> target_cell();
// The open prompt's box, or, aiming, the target's frame and description in the side panel.
void draw_prompt();

}  // namespace grotmere
