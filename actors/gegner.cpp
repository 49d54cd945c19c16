#include "actors/gegner.hpp"

#include "actors/monster_spawn.hpp"
#include "shell/world_state.hpp"

namespace grotmere {

// Spawns come from the map being loaded, so that is the file a refusal names.
int32_t TGegner::create(const std::string& name, int32_t x, int32_t y, int32_t level,
                        int32_t abweichung) {
    const SpawnOutcome outcome = spawn_monster(name, x, y, level, abweichung);
    if (outcome == SpawnOutcome::OutsideMap || outcome == SpawnOutcome::NoTile)
        report_load_problems({{current_map, 0, spawn_refusal(outcome, name, x, y, level)}});
    return 0;
}

// FIXME: the monsters issue builds this.
int32_t TGegner::update() {
    return 0;
}

}  // namespace grotmere
