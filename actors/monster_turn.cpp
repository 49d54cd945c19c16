// The monsters' turn, once after every turn of the player. Each live monster in list order steps
// through the teleports under it, drinks the potions lying under it, then strikes or shoots at the
// player it sees along a straight line, or wanders. The first monster found dead dies and ends
// the pass: damage the player dealt in this turn takes effect here, and one death a turn is all.
#include "actors/cell_set.hpp"
#include "actors/gegner.hpp"
#include "actors/trank.hpp"
#include "actors/treasure.hpp"
#include "world/karten_tile.hpp"
#include "world/message_log.hpp"
#include "world/teleport.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

// Every teleport of the tile the monster stood on acts, even when an earlier one has moved it.
void step_through_teleports(TGegner& monster) {
    // Almost no monster stands on a teleport, and the tracker knows it without the tile.
    if (!tile_tracking.may_hold_teleport(monster.x, monster.y)) return;
    TKartenTile* tile = map_tile(monster.x, monster.y);
    if (tile == nullptr) return;
    ListRef objects = tile->object_list_if_any();
    if (!objects) return;
    objects->for_each_of<TTeleport>(
        [&](std::shared_ptr<TTeleport>& teleport) { teleport->move(monster); });
}

// One unit of every potion stack under the monster a turn; other items stay where they lie. The
// player only hears of it when standing on one of the four tiles beside the monster.
void drink_potions(const std::shared_ptr<TGegner>& monster, const CellSet& heaps) {
    if (!heaps.contains(monster->x, monster->y)) return;
    const auto under_the_monster = [&](const TTreasure& heap) {
        return heap.x == monster->x && heap.y == monster->y;
    };
    treasures->for_each_of_where<TTreasure>(
        under_the_monster, [&](std::shared_ptr<TTreasure>& heap) {
            ListRef drop = heap->drop;
            if (!drop) return;
            drop->for_each_of<TTrank>([&](std::shared_ptr<TTrank>& potion) {
                potion->parse_wirkung(monster);
                if (monster->checkforplayer(1) != 0)
                    log_message(monster->name + " drinks a Potion.");
                potion->anzahl -= 1;
                // A stack that held no unit at all is gone as well, rather than drunk for ever.
                if (potion->anzahl <= 0) drop->remove(potion);
            });
        });
}

// The stored attack_range is how far the monster looks; beyond 1 tile it shoots.
void strike_or_wander(TGegner& monster) {
    const int32_t code = monster.checkforplayer(monster.attack_range);
    if (code != 0)
        monster.attackiere(code);
    else
        monster.move();
}

}  // namespace

int32_t TGegner::update() {
    // Kept between turns for its storage only: it is refilled on every call. Heaps neither move
    // nor multiply during the pass: the only heap made here comes with a death, and a death ends
    // the pass.
    static CellSet heaps;
    heaps.collect<TTreasure>(*treasures);
    monsters->for_each_of<TGegner>([&](std::shared_ptr<TGegner>& monster) {
        if (monster->actual("hp") <= 0) {
            monster->update_gegner();
            return WalkStep::Stop;
        }
        step_through_teleports(*monster);
        drink_potions(monster, heaps);
        strike_or_wander(*monster);
        return WalkStep::Continue;
    });
    return 0;
}

}  // namespace grotmere
