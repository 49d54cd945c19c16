// The game's icon: the player's green "Q" of the map, in the game's own font, on the dark grey of
// an unlit floor, framed in lamp yellow. The desktop's icon files (packaging/make_icon.cpp) and the
// page's favicon are drawn by it.
#pragma once

#include <cstdint>

#include "platform/canvas.hpp"

namespace grotmere {

// A square of `size` pixels; the glyph takes three quarters of it in whole pixels of the font.
Framebuffer draw_game_icon(int32_t size);

}  // namespace grotmere
