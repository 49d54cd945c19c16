#include "actors/monster_spawn.hpp"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "actors/gegner.hpp"
#include "base/random.hpp"
#include "base/text.hpp"
#include "platform/platform.hpp"
#include "records/field_registry.hpp"
#include "world/karte.hpp"
#include "world/karten_tile.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

constexpr int32_t kRandom = -1;  // a spawn coordinate drawn at random

struct Position {
    int32_t x, y;
};

bool fixed_outside_map(int32_t x, int32_t y) {
    const bool bad_x = x != kRandom && (x < 0 || x >= map_width);
    const bool bad_y = y != kRandom && (y < 0 || y >= map_height);
    return bad_x || bad_y;
}

bool may_stand_on(int32_t x, int32_t y) {
    const TKartenTile* tile = map_tile(x, y);
    return tile != nullptr && tile->ID != TKarte::MAP_SOLID && TKarte::is_begehbar(x, y) == 1;
}

// After the draws have failed, the acceptable tiles are counted and one of them is taken with
// equal chance, as further draws would have done; with none the monster has nowhere to go.
std::optional<Position> scan_for_tile(int32_t x, int32_t y) {
    auto visit = [&](auto&& on_tile) {
        for (int32_t cx = 0; cx < std::min(map_width, kGridSize); ++cx) {
            if (x != kRandom && cx != x) continue;
            for (int32_t cy = 0; cy < std::min(map_height, kGridSize); ++cy) {
                if ((y == kRandom || cy == y) && may_stand_on(cx, cy)) {
                    if (on_tile(Position{cx, cy})) return;
                }
            }
        }
    };
    int32_t count = 0;
    visit([&](Position) { return ++count, false; });
    if (count == 0) return std::nullopt;
    int32_t wanted = random_range(1, count);
    std::optional<Position> found;
    visit([&](Position p) { return --wanted == 0 ? (found = p, true) : false; });
    return found;
}

// Fixed coordinates are taken as they are, even on a wall; a -1 is drawn, the column first.
std::optional<Position> place(int32_t x, int32_t y) {
    if (x != kRandom && y != kRandom) return Position{x, y};
    for (int32_t draw = 0; draw < kPlacementDraws; ++draw) {
        const int32_t cx = x == kRandom ? random_range(0, map_width - 1) : x;
        const int32_t cy = y == kRandom ? random_range(0, map_height - 1) : y;
        if (may_stand_on(cx, cy)) return Position{cx, cy};
    }
    return scan_for_tile(x, y);
}

std::vector<RecordRef> kinds_that_fit(auto&& fits) {
    std::vector<RecordRef> found;
    monster_prototypes->for_each_of<TGegner>([&](std::shared_ptr<TGegner>& kind) {
        if (fits(*kind)) found.push_back(kind);
    });
    return found;
}

class Spawn {
public:
    Spawn(int32_t x, int32_t y) : x_(x), y_(y) {}

    // Every copy is placed; the last one made becomes the monster.
    void copy_and_place(const Record& prototype) {
        auto kind = dynamic_cast<const TGegner*>(&prototype);
        if (kind == nullptr || no_tile_) return;
        std::shared_ptr<TGegner> copy = clone_as(*kind);
        std::optional<Position> position = place(x_, y_);
        if (!position) {
            no_tile_ = true;
            return;
        }
        copy->x = position->x;
        copy->y = position->y;
        result_ = copy;
    }

    // The creation line is added to `lines`, after a line end when it holds lines already.
    SpawnOutcome finish(std::string& lines) {
        if (no_tile_) return SpawnOutcome::NoTile;
        if (!result_ || result_->name.empty()) return SpawnOutcome::NoKind;
        result_->buffs = new_list();
        monsters->append(result_);
        if (!lines.empty()) lines += '\n';
        append_joined(lines, {"Es wurde ein ", result_->name, " an Position (", Decimal(result_->x),
                              "|", Decimal(result_->y), ") erstellt."});
        return SpawnOutcome::Created;
    }

private:
    int32_t x_, y_;
    bool no_tile_ = false;
    std::shared_ptr<TGegner> result_;
};

}  // namespace

SpawnOutcome spawn_monster(const std::string& name, int32_t x, int32_t y, int32_t level,
                           int32_t abweichung) {
    MonsterSpawner spawner;
    const SpawnOutcome outcome = spawner.spawn(name, x, y, level, abweichung);
    spawner.announce();
    return outcome;
}

SpawnOutcome MonsterSpawner::spawn(const std::string& name, int32_t x, int32_t y, int32_t level,
                                   int32_t abweichung) {
    if (fixed_outside_map(x, y)) return SpawnOutcome::OutsideMap;
    Spawn spawn(x, y);
    const std::vector<RecordRef>& fitting = kinds(name, level, abweichung);
    if (!name.empty()) {
        for (const RecordRef& kind : fitting)
            spawn.copy_and_place(*kind);
    } else {
        // Any record of the list, or any kind of a fitting level, each with the same chance.
        const int32_t n = random_range(1, static_cast<int32_t>(fitting.size()));
        if (n >= 1 && n <= static_cast<int32_t>(fitting.size()))
            spawn.copy_and_place(*fitting[n - 1]);
    }
    return spawn.finish(lines_);
}

void MonsterSpawner::announce() {
    if (lines_.empty()) return;
    print_line(lines_);
    lines_.clear();
}

// By name, every prototype of that name; else with level 0 every record of the list, monster or
// not; else the monsters whose level lies within abweichung of it.
const std::vector<RecordRef>& MonsterSpawner::kinds(const std::string& name, int32_t level,
                                                    int32_t abweichung) {
    const bool same = kinds_known_ && name == kinds_name_ &&
                      (!name.empty() || (level == kinds_level_ && abweichung == kinds_abweichung_));
    if (same) return kinds_;
    kinds_known_ = true;
    kinds_name_ = name;
    kinds_level_ = level;
    kinds_abweichung_ = abweichung;
    if (!name.empty()) {
        kinds_ = kinds_that_fit([&](const TGegner& k) { return k.name == name; });
    } else if (level == 0) {
        kinds_ = monster_prototypes->records();
    } else {
        const int64_t lowest = int64_t{level} - abweichung;
        const int64_t highest = int64_t{level} + abweichung;
        kinds_ = kinds_that_fit(
            [&](const TGegner& k) { return k.level >= lowest && k.level <= highest; });
    }
    return kinds_;
}

std::string spawn_kind_text(const std::string& name, int32_t level) {
    return name.empty() ? "a monster of level " + int_to_text(level) : shown_text(name);
}

std::string spawn_refusal(SpawnOutcome outcome, const std::string& name, int32_t x, int32_t y,
                          int32_t level, int32_t abweichung) {
    const std::string kind = spawn_kind_text(name, level);
    const std::string where = " at (" + int_to_text(x) + "|" + int_to_text(y) + ")";
    if (outcome == SpawnOutcome::OutsideMap)
        return "the spawn of " + kind + where + " lies outside the map; refused";
    if (outcome == SpawnOutcome::NoTile)
        return "no open tile for " + kind + where + "; the monster is left out";
    if (outcome != SpawnOutcome::NoKind) return "";
    if (!name.empty()) {
        return "the spawn of " + kind + where +
               " finds no monster prototype of that name; no monster is made";
    }
    if (level == 0) return "the spawn of any monster" + where + " finds no monster prototypes";
    return "the spawn of " + kind + where + " finds no monster prototype of a level from " +
           std::to_string(int64_t{level} - abweichung) + " to " +
           std::to_string(int64_t{level} + abweichung) + "; no monster is made";
}

}  // namespace grotmere
