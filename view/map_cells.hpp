// Where the main camera draws the map's cells in the picture, for pointing at them.
#pragma once

#include <cstdint>

namespace grotmere {

// The map cell the main camera shows at this pixel of the picture; false outside the view.
bool map_cell_at_pixel(int32_t px, int32_t py, int32_t& x, int32_t& y);
// The top-left pixel of the cell's square; false when the camera does not show it.
bool map_cell_pixel(int32_t x, int32_t y, int32_t& px, int32_t& py);

}  // namespace grotmere
