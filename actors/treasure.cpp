#include "actors/treasure.hpp"

namespace grotmere {

// FIXME: the items issue builds this.
int32_t TTreasure::update() {
    return 0;
}

}  // namespace grotmere
