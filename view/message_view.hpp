// The message log's drawing: its lines, newest at the top, in greys that fade with age.
#pragma once

#include <cstdint>

namespace grotmere {

// Line i at (x, y + 10 i) in grey 255 - 30 i; the colour is white afterwards.
int32_t draw_messages(int32_t x, int32_t y);

}  // namespace grotmere
