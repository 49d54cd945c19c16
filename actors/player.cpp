#include "actors/player.hpp"

namespace grotmere {

// FIXME: the player issue builds these; show_inventory comes with the items issue.
int32_t TPlayer::action() {
    return 0;
}
int32_t TPlayer::updatehealth() {
    return 0;
}
int32_t TPlayer::update() {
    return 0;
}
int32_t TPlayer::showstats() {
    return 0;
}
int32_t TPlayer::show_inventory() {
    return 0;
}
int32_t TPlayer::show_worn() {
    return 0;
}

}  // namespace grotmere
