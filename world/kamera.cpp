#include "world/kamera.hpp"

#include "world/world_state.hpp"

namespace grotmere {

std::shared_ptr<TKamera> TKamera::construct() {
    auto camera = std::make_shared<TKamera>();
    cameras->append(camera);
    return camera;
}

int32_t TKamera::set_border(int32_t b) {
    border = b;
    return 0;
}

int32_t TKamera::set(int32_t x, int32_t y) {
    origin_x = x;
    origin_y = y;
    return 0;
}

int32_t TKamera::set_viewport(int32_t x, int32_t y, int32_t b, int32_t h) {
    cam_x = x;
    cam_y = y;
    cam_b = b;
    cam_h = h;
    return 0;
}

}  // namespace grotmere
