// The keys and the mouse of the window's aids: Z rests, O explores, Ctrl with a direction runs, X
// opens the look cursor (the direction keys move it, Return or T travels there, Escape or X
// leaves it), M shows the map overview (M or Escape closes it), Escape asks whether to end the
// game, P picks up one stack, D drops a whole stack, F aims at a monster
// (aids/aid_prompts.hpp). The mouse pointing at the map describes the cell until the next key,
// and a click travels there. Each key works only while the key-binding file leaves it free.
//
// The keys are taken before the game and the recorder see them (platform/keyboard.hpp's gate): a
// recording holds only the bound presses the aids hand over, and plays back without the aids.
// The look cursor and the overview take every key while they are open, so the turn waits; the
// world keeps its real-time pace as it does while the player sits still.
#pragma once

#include <any>
#include <cstdint>
#include <optional>

#include "world/tile_tracking.hpp"

namespace grotmere {

enum class AidView { None, Look, Overview };

// Starts or stops the aids' keys and mouse, with every aid closed and no walk going on.
void set_aid_keys(bool on);

AidView aid_view();
// The cell the look cursor or the mouse points at, if any.
std::optional<MapCell> pointed_cell();

// For run_pass, after the timer wait: the mouse's doings, then the walking aids' key press.
void aid_pass();
// Changes whenever what the aids draw may have changed.
uint64_t aid_picture_version();

// A copy of the aids' keys' state, and putting one back: for a snapshot of the game held in memory.
std::any aid_keys_state();
void put_back_aid_keys_state(const std::any& kept);

// The keys the aids use, for the help.
inline constexpr int32_t kRestKey = 'Z';
inline constexpr int32_t kExploreKey = 'O';
inline constexpr int32_t kLookKey = 'X';
inline constexpr int32_t kTravelKey = 'T';
inline constexpr int32_t kOverviewKey = 'M';

}  // namespace grotmere
