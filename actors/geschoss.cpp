#include "actors/geschoss.hpp"

#include "shell/field_registry.hpp"
#include "shell/world_state.hpp"

namespace grotmere {

int32_t TGeschoss::create(int32_t richtung, int32_t reichweite, int32_t dmg, int32_t x, int32_t y,
                          int32_t skill) {
    auto missile = new_record<TGeschoss>();
    missile->richtung = richtung;
    missile->reichweite = reichweite;
    missile->dmg = dmg;
    missile->x = x;
    missile->y = y;
    missile->skill = skill;
    missiles->append(missile);
    return 0;
}

// FIXME: the missiles issue builds this.
int32_t TGeschoss::update() {
    return 0;
}

}  // namespace grotmere
