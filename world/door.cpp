#include "world/door.hpp"

namespace grotmere {

// FIXME: the doors issue builds this.
int32_t TDoor::update() {
    return 0;
}

}  // namespace grotmere
