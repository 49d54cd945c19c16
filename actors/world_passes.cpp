#include "actors/world_passes.hpp"

#include <memory>

#include "actors/gegner.hpp"
#include "actors/monster_spawn.hpp"
#include "actors/player.hpp"
#include "actors/treasure.hpp"
#include "base/text.hpp"
#include "world/karte.hpp"
#include "world/leuchte.hpp"
#include "world/light_pass.hpp"
#include "world/map_file.hpp"
#include "world/message_log.hpp"
#include "world/schalter.hpp"
#include "world/tile_writes.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

void carried_light() {
    if (!player || !player->leuchte) return;
    if (player->leuchte->erleuchte(player->x, player->y) != 0) return;
    log_message(player->leuchte->name + " has burnt out.");
    player->leuchte = nullptr;
}

// A light that goes out in a heap is gone without a word.
void lights_in_heaps() {
    treasures->for_each_of<TTreasure>([](std::shared_ptr<TTreasure>& heap) {
        if (!heap->drop) return;
        heap->drop->for_each_of<TLeuchte>([&](std::shared_ptr<TLeuchte>& light) {
            if (light->erleuchte(heap->x, heap->y) == 0) heap->drop->remove(light.get());
        });
    });
}

// What one map may spawn: a spawn record asking for more than a few screens of monsters is cut,
// and so is the map as a whole, each with a warning naming the record.
struct SpawnBudget {
    int32_t made = 0;
    bool map_full_told = false;
};

// Every call of one record has the same arguments, and the tiles do not change between them, so
// a refused spawn would be refused again: one warning, and the record's remaining calls are left
// out. A kind that is not found is said once; the calls still run, as each draws its numbers.
void spawn_monsters(const std::string& file, int32_t line, const TGegner& record,
                    MonsterSpawner& spawner, SpawnBudget& budget, LoadProblems& problems) {
    auto warn = [&](const std::string& message) { problems.push_back({file, line, message}); };
    int32_t calls = record.anzahl;
    if (calls > kMostSpawnsPerRecord) {
        warn("the spawn of " + spawn_kind_text(record.name, record.level) + " asks for " +
             int_to_text(calls) + " monsters; only " + int_to_text(kMostSpawnsPerRecord) +
             " are made");
        calls = kMostSpawnsPerRecord;
    }
    bool no_kind_told = false;
    for (int32_t k = 0; k < calls; ++k) {
        if (budget.made >= kMostMonstersPerMap) {
            if (!budget.map_full_told) {
                warn("the map already holds " + int_to_text(kMostMonstersPerMap) +
                     " monsters; this spawn and every later one is left out");
            }
            budget.map_full_told = true;
            return;
        }
        const SpawnOutcome outcome =
            spawner.spawn(record.name, record.x, record.y, record.level, record.abweichung);
        if (outcome == SpawnOutcome::Created) ++budget.made;
        if (outcome == SpawnOutcome::OutsideMap || outcome == SpawnOutcome::NoTile) {
            return warn(spawn_refusal(outcome, record.name, record.x, record.y, record.level,
                                      record.abweichung));
        }
        if (outcome == SpawnOutcome::NoKind && !no_kind_told) {
            no_kind_told = true;
            warn(spawn_refusal(outcome, record.name, record.x, record.y, record.level,
                               record.abweichung));
        }
    }
}

LoadProblems spawn_map_monsters(const std::string& file, const RecordLines& lines) {
    SpawnBudget budget;
    LoadProblems problems;
    MonsterSpawner spawner;
    map_records->for_each_of<TGegner>([&](std::shared_ptr<TGegner>& record) {
        spawn_monsters(file, line_of(lines, *record), *record, spawner, budget, problems);
        map_records->remove_visited(record.get());
    });
    spawner.announce();
    return problems;
}

}  // namespace

int32_t update_switches() {
    if (!player) return 0;
    return TSchalter::update(SwitchUser{player->x, player->y, player->usemode});
}

int32_t update_lights() {
    begin_light_pass();
    carried_light();
    lights_in_heaps();
    shine_lying_lights();
    // What the lights changed since the last pass is lit, and what no light reached is dark.
    end_light_pass();
    return 0;
}

std::optional<LoadProblem> load_map_file(const std::string& file) {
    return read_map_file(file, spawn_map_monsters);
}

// A refused file leaves the map as it was and is reported like any other problem of a data file.
int32_t TKarte::load_map(const std::string& file) {
    std::optional<LoadProblem> refusal = load_map_file(file);
    if (!refusal) return 0;
    report_load_problems({*refusal});
    return 1;
}

}  // namespace grotmere
