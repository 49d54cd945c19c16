#include "actors/geschoss.hpp"

#include "actors/cell_set.hpp"
#include "actors/direction.hpp"
#include "actors/gegner.hpp"
#include "actors/player.hpp"
#include "base/random.hpp"
#include "base/text.hpp"
#include "records/field_registry.hpp"
#include "world/karte.hpp"
#include "world/karten_tile.hpp"
#include "world/message_log.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

// A missile that stops leaves `missiles` at once but finishes its pass where it stands.
class Flight {
public:
    explicit Flight(std::shared_ptr<TGeschoss> missile) : missile_(std::move(missile)) {}

    void stop() {
        if (stopped_) return;
        stopped_ = true;
        missiles->remove(missile_);
    }
    TGeschoss& missile() { return *missile_; }

private:
    std::shared_ptr<TGeschoss> missile_;
    bool stopped_ = false;
};

bool left_the_map(const TGeschoss& missile) {
    switch (missile.richtung) {
        case 1:
            return missile.x < 0;
        case 2:
            return missile.x >= map_width;
        case 3:
            return missile.y < 0;
        case 4:
            return missile.y >= map_height;
        default:
            return false;
    }
}

// A missile steps before it is tested, so it never strikes its shooter.
void step(Flight& flight) {
    TGeschoss& missile = flight.missile();
    const Offset offset = direction_offset(missile.richtung);
    missile.x += offset.dx;
    missile.y += offset.dy;
    if (left_the_map(missile)) flight.stop();
}

void count_range(Flight& flight) {
    TGeschoss& missile = flight.missile();
    missile.flugweg += 1;
    if (missile.flugweg >= missile.reichweite) flight.stop();
}

void test_wall(Flight& flight) {
    const TGeschoss& missile = flight.missile();
    const TKartenTile* tile = map_tile(missile.x, missile.y);
    if (tile != nullptr && (tile->ID == TKarte::MAP_SOLID || tile->begehbar == 0)) flight.stop();
}

// Off the map no light falls: a target there stands in the dark.
int32_t light_at(int32_t x, int32_t y) {
    const TKartenTile* tile = map_tile(x, y);
    return tile != nullptr ? tile->lichtstaerke : 0;
}

// Each point of darkness takes a point off the shooter's skill; worked in 64 bits, so that an
// extreme skill cannot wrap round.
bool aim_strikes(const TGeschoss& missile) {
    const int64_t roll = random_range(1, 100);
    return roll <= int64_t{missile.skill} - (100 - int64_t{light_at(missile.x, missile.y)});
}

// Every monster on the tile is tested with its own roll; the missile stops at the first.
void strike_monsters(Flight& flight, const CellSet& occupied) {
    const TGeschoss& missile = flight.missile();
    if (!occupied.contains(missile.x, missile.y)) return;
    const auto on_the_tile = [&](const TGegner& monster) {
        return monster.x == missile.x && monster.y == missile.y;
    };
    monsters->for_each_of_where<TGegner>(on_the_tile, [&](std::shared_ptr<TGegner>& monster) {
        if (aim_strikes(missile)) {
            const int32_t damage = random_range(1, missile.dmg) - monster->actual("rs");
            if (damage > 0) {
                monster->hp -= damage;
                log_message({monster->name, " was hit for ", Decimal(damage), " points."});
                monster->update_gegner();
            }
        }
        flight.stop();
    });
}

// No parry and no worn armour against a missile. The player's death is found by the per-pass
// upkeep.
void strike_player(Flight& flight) {
    const TGeschoss& missile = flight.missile();
    if (!player || player->x != missile.x || player->y != missile.y) return;
    if (aim_strikes(missile)) {
        const int32_t damage = random_range(1, missile.dmg) - player->actual("rs");
        if (damage > 0) {
            player->hp -= damage;
            note_harm("missile");
            log_message({"You were hit for ", Decimal(damage), " points."});
        }
    }
    flight.stop();
}

}  // namespace

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

// A missile that leaves the map is still tested where it stands, as every stopped missile is; the
// tests read tiles only inside the map.
int32_t TGeschoss::update() {
    // Kept between passes for its storage only: it is refilled on every call, so nothing carries
    // from one world to the next. Monsters only leave the list during the pass.
    static CellSet occupied;
    if (missiles->empty()) return 0;
    occupied.collect<TGegner>(*monsters);
    missiles->for_each_of<TGeschoss>([&](std::shared_ptr<TGeschoss>& missile) {
        Flight flight(missile);
        step(flight);
        count_range(flight);
        test_wall(flight);
        strike_monsters(flight, occupied);
        strike_player(flight);
    });
    return 0;
}

}  // namespace grotmere
