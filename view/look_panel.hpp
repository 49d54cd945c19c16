// The look cursor: a frame around the cell the cursor or the mouse points at, and in the side
// panel what the player knows of that cell.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace grotmere {

// What the player knows of the cell, one line each: the monster there with its level and health,
// the heaps, a door and its state, a teleport, a switch found, and the ground.
std::vector<std::string> describe_cell(int32_t x, int32_t y);

// The frame on the map and the description in the side panel under `heading` (by default where
// the cell is); `footer` stands on the panel's last line. Leaves the colour white.
void draw_look_panel(int32_t x, int32_t y, const std::string& footer,
                     const std::string& heading = {});

}  // namespace grotmere
