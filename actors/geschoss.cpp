#include "actors/geschoss.hpp"

namespace grotmere {

// FIXME: the missiles issue builds this.
int32_t TGeschoss::update() {
    return 0;
}

}  // namespace grotmere
