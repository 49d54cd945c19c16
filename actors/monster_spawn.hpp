// Making live monsters from the monster prototypes, as the map loader asks for them. A spawn
// picks its kind by name or by level, places the copy on its tile, appends it to `monsters` and
// prints the creation line on standard output. It always ends: a spawn whose fixed position lies
// outside the map is refused, and one that finds no open tile gives up instead of searching for
// ever. Warnings are the caller's to give, since only the caller knows the file and line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "records/record.hpp"

namespace grotmere {

enum class SpawnOutcome {
    Created,
    NoKind,      // no prototype of that name, or none of a fitting level
    OutsideMap,  // a fixed column or row lies outside the map
    NoTile,      // no open tile where the monster may stand
};

// Random placement draws this many tiles before it looks at every tile instead.
inline constexpr int32_t kPlacementDraws = 10000;

SpawnOutcome spawn_monster(const std::string& name, int32_t x, int32_t y, int32_t level,
                           int32_t abweichung);

// Spawns many monsters in a row, as a map's spawn records ask for them: the monster prototypes
// fitting a name or level are looked up once for each run of spawns with the same arguments
// (nothing changes the prototypes meanwhile), and the creation lines are printed together by
// announce(), the same lines in the same order in one write.
class MonsterSpawner {
public:
    SpawnOutcome spawn(const std::string& name, int32_t x, int32_t y, int32_t level,
                       int32_t abweichung);
    void announce();

private:
    const std::vector<RecordRef>& kinds(const std::string& name, int32_t level, int32_t abweichung);

    bool kinds_known_ = false;
    std::string kinds_name_;
    int32_t kinds_level_ = 0, kinds_abweichung_ = 0;
    std::vector<RecordRef> kinds_;
    std::string lines_;
};

// What one spawn record, and all the spawns of one map, may make at most.
inline constexpr int32_t kMostSpawnsPerRecord = 1000;
inline constexpr int32_t kMostMonstersPerMap = 10000;

// The warning for a spawn that made nothing ("OutsideMap", "NoTile" or "NoKind"), naming the
// kind and position.
std::string spawn_refusal(SpawnOutcome outcome, const std::string& name, int32_t x, int32_t y,
                          int32_t level, int32_t abweichung);

// "\"Rat\"" or "a monster of level 3", as warnings name what a spawn asks for.
std::string spawn_kind_text(const std::string& name, int32_t level);

}  // namespace grotmere
