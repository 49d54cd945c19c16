// TKamera, a view of the map on the screen. Every camera joins `cameras` when it is made, so make
// cameras through the registry (new_record<TKamera>()), never with a bare make_shared.
#pragma once

#include <cstdint>
#include <memory>

#include "shell/record.hpp"

namespace grotmere {

class TKamera : public Record {
public:
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

}  // namespace grotmere
