#include "actors/player.hpp"

#include "records/field_registry.hpp"

namespace grotmere {

std::shared_ptr<TPlayer> TPlayer::create(const std::string& name, int32_t hp, int32_t x, int32_t y,
                                         int32_t attack, int32_t defend, int32_t dmg) {
    auto made = new_record<TPlayer>();
    made->name = name;
    made->hp = hp;
    made->hpmax = hp;
    made->x = x;
    made->y = y;
    made->attack = attack;
    made->defend = defend;
    made->dmg = dmg;
    return made;
}

}  // namespace grotmere
