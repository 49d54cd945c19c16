#include "actors/gegner.hpp"

#include "actors/direction.hpp"
#include "actors/monster_spawn.hpp"
#include "actors/player.hpp"
#include "actors/treasure.hpp"
#include "base/random.hpp"
#include "world/karte.hpp"
#include "world/karten_tile.hpp"
#include "world/message_log.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

// A sighting code holds the distance in its last three digits.
constexpr int64_t kFarthestSighting = 999;

// A tile that hides what lies beyond it from a monster's eyes: rock, or a tile whose begehbar is
// exactly 0 (a closed door). Outside the map nothing hides anything.
bool hides_beyond(int64_t x, int64_t y) {
    if (x < 0 || y < 0 || x >= kGridSize || y >= kGridSize) return false;
    const TKartenTile* tile = map_tile(static_cast<int32_t>(x), static_cast<int32_t>(y));
    return tile != nullptr && (tile->ID == TKarte::MAP_SOLID || tile->begehbar == 0);
}

struct Sighting {
    int32_t richtung = 0;
    int64_t distance = 0;
};

// The one line, if any, on which the player stands as seen from (x, y); worked in 64 bits so that
// positions at the far ends of the 32-bit range cannot wrap into a line.
Sighting line_to_player(int32_t x, int32_t y) {
    const int64_t dx = int64_t{player->x} - x;
    const int64_t dy = int64_t{player->y} - y;
    if (dy == 0 && dx < 0) return {1, -dx};
    if (dy == 0 && dx > 0) return {2, dx};
    if (dx == 0 && dy < 0) return {3, -dy};
    if (dx == 0 && dy > 0) return {4, dy};
    return {};
}

}  // namespace

// Spawns come from the map being loaded, so that is the file a refusal names.
int32_t TGegner::create(const std::string& name, int32_t x, int32_t y, int32_t level,
                        int32_t abweichung) {
    const SpawnOutcome outcome = spawn_monster(name, x, y, level, abweichung);
    if (outcome == SpawnOutcome::OutsideMap || outcome == SpawnOutcome::NoTile)
        report_load_problems(
            {{current_map, 0, spawn_refusal(outcome, name, x, y, level, abweichung)}});
    return 0;
}

std::shared_ptr<TGegner> TGegner::collide(int32_t x, int32_t y) {
    return monsters->find_first<TGegner>(
        [&](const TGegner& monster) { return monster.x == x && monster.y == y; });
}

int32_t TGegner::move() {
    if (random_range(1, 100) <= 50) return 0;
    const Offset step = direction_offset(random_range(1, 4));
    const int32_t to_x = x + step.dx;
    const int32_t to_y = y + step.dy;
    // Only a begehbar of exactly 1 lets a monster in; is_begehbar answers 0 off the map.
    if (TKarte::is_begehbar(to_x, to_y) != 1) return 0;
    x = to_x;
    y = to_y;
    return 0;
}

// The four lines are searched outward together, but the player stands on at most one of them,
// so it is enough to find that line and look for a hiding tile short of the player. The tile the
// player stands on cannot hide the player.
int32_t TGegner::checkforplayer(int32_t range) const {
    if (!player || range < 1) return 0;
    const Sighting seen = line_to_player(x, y);
    if (seen.richtung == 0 || seen.distance > range || seen.distance > kFarthestSighting) return 0;
    const Offset step = direction_offset(seen.richtung);
    for (int64_t d = 1; d < seen.distance; ++d) {
        if (hides_beyond(x + d * step.dx, y + d * step.dy)) return 0;
    }
    return 1000 * seen.richtung + static_cast<int32_t>(seen.distance);
}

int32_t TGegner::update_gegner() {
    if (actual("hp") > 0) return 0;
    // Taken before the monster leaves `monsters`, which may be the last to hold it.
    const int32_t at_x = x;
    const int32_t at_y = y;
    const int32_t reward = xp;
    const int32_t most_gold = gold;
    const int32_t most_worth = gold_drop;
    log_message(name + " is dead!");
    note_kill(name);
    monsters->remove(this);
    if (player) player->xp += reward;
    // The item budget is drawn before the gold; a field of 0 still gives 0 or 1.
    const int32_t budget = random_range(most_worth, 1);
    const int32_t found_gold = random_range(most_gold, 1);
    TTreasure::create(at_x, at_y, found_gold, budget);
    return 0;
}

}  // namespace grotmere
