#include "world/karte.hpp"

namespace grotmere {

// FIXME: the map issue builds these.
TKarte::TKarte() {}
int32_t TKarte::load_map(const std::string&) {
    return 0;
}
int32_t TKarte::randomfill(int32_t) {
    return 0;
}
int32_t TKarte::is_begehbar(int32_t, int32_t) {
    return 0;
}
int32_t TKarte::darken() {
    return 0;
}
int32_t TKarte::update() {
    return 0;
}

}  // namespace grotmere
