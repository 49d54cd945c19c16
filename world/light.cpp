#include "world/leuchte.hpp"

namespace grotmere {

// FIXME: the light issue builds these.
int32_t TLeuchte::toggle(int32_t on) {
    brennt = on;
    return brennt;
}
int32_t TLeuchte::erleuchte(int32_t, int32_t) {
    return 0;
}
int32_t update_lights() {
    return 0;
}

}  // namespace grotmere
