// TKamera, a view of the map on the screen. Every camera joins `cameras` when it is made, so make
// cameras through the registry (new_record<TKamera>()), never with a bare make_shared.
// Its members live in three files: the camera's own settings in world/kamera.cpp, in_sight (the
// player's sight) in world/line_of_sight.cpp, and the drawing (render, render_all) in
// view/map_view.cpp.
#pragma once

#include <cstdint>
#include <memory>

#include "records/record.hpp"

namespace grotmere {

class TKamera : public Record {
public:
    static int32_t render_all();
    int32_t in_sight(int32_t x, int32_t y, int32_t r);
    int32_t set_border(int32_t b);
    int32_t set(int32_t x, int32_t y);
    int32_t render();
    int32_t set_viewport(int32_t x, int32_t y, int32_t b, int32_t h);

    // The registry's factory: a new camera at the end of `cameras`.
    static std::shared_ptr<TKamera> construct();

    int32_t cam_x = 0;
    int32_t cam_y = 0;
    int32_t cam_b = 0;
    int32_t cam_h = 0;
    int32_t origin_x = 0;
    int32_t origin_y = 0;
    int32_t border = 1;
};

// 1 when the straight line from cell (x1, y1) to cell (x2, y2) is clear of walls and closed doors.
int32_t line_of_sight(int32_t x1, int32_t y1, int32_t x2, int32_t y2);

}  // namespace grotmere
