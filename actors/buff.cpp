#include "actors/buff.hpp"

namespace grotmere {

// FIXME: the buffs issue builds this.
int32_t TBuff::update(int32_t) {
    return 0;
}

}  // namespace grotmere
