#include "world/kamera.hpp"

#include "shell/world_state.hpp"

namespace grotmere {

std::shared_ptr<TKamera> TKamera::construct() {
    auto camera = std::make_shared<TKamera>();
    cameras->append(camera);
    return camera;
}

}  // namespace grotmere
