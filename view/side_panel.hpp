// The side panel in the area right of the map view that the game otherwise leaves black
// (x 410 to 819, y 0 to 245): what is in sight, the effects on the player with their turns left,
// the weapon, the light with its turns left and whether the bow is ready. It only reads the world.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace grotmere {

inline constexpr int32_t kSidePanelLeft = 410;
inline constexpr int32_t kSidePanelBottom = 245;

// A line the window's aids add above the hint: a heading in yellow, or an indented line.
struct PanelNote {
    std::string text;
    bool heading = false;
};

// `hint`, when not empty, stands on the panel's last line, and the notes above it; what is in
// sight gives way to them. `place` ("Depth 3 of 5"), when not empty, heads the panel. Leaves the
// colour white.
void draw_side_panel(const std::string& hint, const std::string& place = std::string(),
                     const std::vector<PanelNote>& notes = {});

}  // namespace grotmere
