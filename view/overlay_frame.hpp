// What the help and the history share: a panel over the whole window, opaque, so that nothing of
// the game shows through and the picture depends only on what the overlay lists.
#pragma once

#include <cstdint>
#include <string>

namespace grotmere {

inline constexpr int32_t kOverlayLineHeight = 10;
inline constexpr int32_t kOverlayMargin = 12;
// The first line of the overlay's body, below its title.
inline constexpr int32_t kOverlayBodyTop = 32;
// The footer's line; the body ends above it.
inline constexpr int32_t kOverlayFooterY = 450;

// Fills the window, draws the frame, the title at the top and the footer at the bottom; leaves
// the colour white.
void draw_overlay_frame(const std::string& title, const std::string& footer);

// How many body lines fit between the title and the footer.
int32_t overlay_body_lines();

}  // namespace grotmere
