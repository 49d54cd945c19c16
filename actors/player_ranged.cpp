// The player's ranged fighting helpers: finding ammunition, the melee check that forbids a shot,
// and launching a missile.
#include "actors/gegner.hpp"
#include "actors/geschoss.hpp"
#include "actors/player.hpp"
#include "actors/surroundings.hpp"
#include "actors/waffe.hpp"
#include "world/gegenstand.hpp"
#include "world/world_state.hpp"

namespace grotmere {

// A weapon's munition lists the names it shoots, each between hyphens ("-Arrow--Bolt-"), so a
// name matches only whole; the search is exact, letter case included.
int32_t TPlayer::in_inventory(const std::string& list) const {
    if (!inventory) return -1;
    for (int32_t element = 0; element < kInventorySlots; ++element) {
        const std::shared_ptr<TGegenstand>& item = (*inventory)[static_cast<size_t>(element)];
        if (item && list.find("-" + item->name + "-") != std::string::npos) return element;
    }
    return -1;
}

int32_t TPlayer::gegner_around() const {
    return monsters->any_of<TGegner>(
               [&](const TGegner& monster) { return adjacent(monster.x, monster.y, x, y); })
               ? 1
               : 0;
}

// The missile aims with the stored attack, not the effective one.
int32_t TPlayer::create_geschoss(int32_t richtung, int32_t extra_dmg) {
    if (!waffe) return 0;
    TGeschoss::create(richtung, waffe->reichweite, waffe->dmg + extra_dmg, x, y, attack);
    return 0;
}

}  // namespace grotmere
