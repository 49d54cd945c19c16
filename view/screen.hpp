// The whole picture of one pass: every camera's map view, the status panel, the message log, the
// inventory and the worn items. The frame cycle calls draw_screen between clearing the window and
// presenting it; nothing else in the game draws.
#pragma once

#include <cstdint>

namespace grotmere {

// One frame of drawing, without clearing and presenting.
int32_t draw_screen();

}  // namespace grotmere
