#include "actors/gegner.hpp"

namespace grotmere {

// FIXME: the map issue builds create, the monsters issue update.
int32_t TGegner::create(const std::string&, int32_t, int32_t, int32_t, int32_t) {
    return 0;
}
int32_t TGegner::update() {
    return 0;
}

}  // namespace grotmere
