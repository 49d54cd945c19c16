#include "world/schalter.hpp"

namespace grotmere {

// FIXME: the switches issue builds these.
int32_t TSchalter::update() {
    return 0;
}
int32_t TSchalter::parse_wirkung() {
    return 1;
}

}  // namespace grotmere
