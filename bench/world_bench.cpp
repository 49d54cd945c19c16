// The world's hot paths on the largest map: one turn's sight and light pass, one frame of the map
// view, the monsters' turn, the missile pass and the whole turn. The map is 256 x 256 with a fifth
// of it walls, 1,000 burning lights of reach 5 lying on tiles and 1,000 monsters, the player in
// the middle carrying a light of its own.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "actors/buff.hpp"
#include "actors/gegner.hpp"
#include "actors/geschoss.hpp"
#include "actors/player.hpp"
#include "actors/treasure.hpp"
#include "actors/world_passes.hpp"
#include "base/random.hpp"
#include "bench/allocation_count.hpp"
#include "platform/drawing.hpp"
#include "platform/platform.hpp"
#include "records/field_registry.hpp"
#include "run/main_loop.hpp"
#include "run/record_types.hpp"
#include "view/screen.hpp"
#include "world/door.hpp"
#include "world/kamera.hpp"
#include "world/karte.hpp"
#include "world/karten_tile.hpp"
#include "world/leuchte.hpp"
#include "world/schalter.hpp"
#include "world/tile_writes.hpp"
#include "world/world_state.hpp"

namespace grotmere {
namespace {

constexpr int32_t kSide = 256;
constexpr int32_t kLights = 1000;
constexpr int32_t kMonsters = 1000;
constexpr int32_t kHeaps = 200;
constexpr int32_t kMissilesInFlight = 100;

struct FloorTile {
    int32_t x, y;
};

FloorTile random_floor() {
    for (;;) {
        const int32_t x = random_range(0, kSide - 1);
        const int32_t y = random_range(0, kSide - 1);
        if (tile_grid.at(x, y)->ID == TKarte::MAP_RAUM) return {x, y};
    }
}

std::shared_ptr<TLeuchte> burning_light() {
    auto light = new_record<TLeuchte>();
    light->name = "Lamp";
    light->reichweite = 5;
    light->brenndauer = -1;
    return light;
}

void build_world() {
    reset_world();
    register_record_types();
    seed_random(12345);
    map_width = kSide;
    map_height = kSide;
    karte = TKarte::construct();
    karte->randomfill(kSide * kSide / 5);
    set_terrain(*tile_grid.at(kSide / 2, kSide / 2), TKarte::MAP_RAUM);  // the player's tile
    TKarte::update();
    for (int32_t k = 0; k < kLights; ++k) {
        const FloorTile at = random_floor();
        tile_grid.at(at.x, at.y)->gegenstaende()->append(burning_light());
    }
    for (int32_t k = 0; k < kMonsters; ++k) {
        const FloorTile at = random_floor();
        auto monster = new_record<TGegner>();
        monster->name = "Orc";
        monster->x = at.x;
        monster->y = at.y;
        monsters->append(monster);
    }
    player = new_record<TPlayer>();
    player->x = kSide / 2;
    player->y = kSide / 2;
    player->leuchte = burning_light();
    kamera = new_record<TKamera>();
    kamera->set_viewport(1, 1, 402, 245);
    // A long game's message history is full, and full it asks for no memory: its oldest lines,
    // as long as the lines a fight logs, take the new ones.
    for (size_t k = 0; k < MessageHistory::kCap; ++k)
        message_history.add("A line of the history, as long as a fight's lines: " +
                            std::to_string(k));
}

// The turn cycle's sight and light steps, in its order.
void sight_and_light_pass() {
    TKarte::darken_sight();
    kamera->in_sight(player->x, player->y, 5);
    see_own_tile(player->x, player->y);
    kamera->in_sight(player->x, player->y, 5);
    update_lights();
}

void report_allocations(benchmark::State& state, int64_t before) {
    state.counters["allocs_per_iter"] =
        benchmark::Counter(static_cast<double>(bench::allocations_so_far() - before) /
                           static_cast<double>(state.iterations()));
}

void BM_TurnSightAndLight(benchmark::State& state) {
    build_world();
    sight_and_light_pass();
    const int64_t before = bench::allocations_so_far();
    for (auto _ : state) {
        sight_and_light_pass();
        benchmark::ClobberMemory();
    }
    report_allocations(state, before);
}
BENCHMARK(BM_TurnSightAndLight)->Unit(benchmark::kMicrosecond);

// The light pass with every lying light of a larger reach (the argument), the player carrying
// none, and the darkening after it, every cell lit again; reported per cell within a light's
// reach on the map.
void BM_FarLights(benchmark::State& state) {
    const auto reach = static_cast<int32_t>(state.range(0));
    build_world();
    player->leuchte = nullptr;
    int64_t cells = 0;
    for (const MapCell& cell : tile_tracking.cells_with_lights()) {
        tile_grid.at(cell.x, cell.y)->gegenstaende()->for_each_of<TLeuchte>([&](auto& light) {
            light->reichweite = reach;
            for (int32_t i = cell.x - reach; i <= cell.x + reach; ++i) {
                for (int32_t j = cell.y - reach; j <= cell.y + reach; ++j) {
                    const int64_t di = i - cell.x, dj = j - cell.y;
                    const auto d =
                        static_cast<float>(std::sqrt(static_cast<double>(di * di + dj * dj)));
                    cells += inside_map(i, j) && d <= static_cast<float>(reach) ? 1 : 0;
                }
            }
        });
    }
    sight_and_light_pass();
    const int64_t before = bench::allocations_so_far();
    for (auto _ : state) {
        // Every cell lit again, as when the walls change, not only what changed since the last.
        kept_light.forget();
        TKarte::darken_sight();
        update_lights();
        benchmark::ClobberMemory();
    }
    report_allocations(state, before);
    state.counters["per_cell"] = benchmark::Counter(
        static_cast<double>(cells),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_FarLights)->Arg(20)->Unit(benchmark::kMillisecond);

// The sight test alone, from a round of floor tiles all over the map (256 of them: the tiles come
// cold from memory) or from one tile (the second look of a turn, its tiles in the cache).
void BM_InSight(benchmark::State& state) {
    build_world();
    std::vector<FloorTile> viewers(static_cast<size_t>(state.range(0)));
    for (FloorTile& viewer : viewers)
        viewer = random_floor();
    size_t next = 0;
    const int64_t before = bench::allocations_so_far();
    for (auto _ : state) {
        const FloorTile& viewer = viewers[next++ % viewers.size()];
        kamera->in_sight(viewer.x, viewer.y, 5);
        benchmark::ClobberMemory();
    }
    report_allocations(state, before);
}
BENCHMARK(BM_InSight)->Arg(256)->Arg(1);

void BM_FrameMapView(benchmark::State& state) {
    build_world();
    sight_and_light_pass();
    kamera->set(player->x, player->y);
    const int64_t before = bench::allocations_so_far();
    for (auto _ : state) {
        TKamera::render_all();
        benchmark::ClobberMemory();
    }
    report_allocations(state, before);
}
BENCHMARK(BM_FrameMapView)->Unit(benchmark::kMicrosecond);

// The whole frame as the main loop draws it: clearing, the map view, the panels and the log.
void BM_FrameWholeScreen(benchmark::State& state) {
    build_world();
    sight_and_light_pass();
    const int64_t before = bench::allocations_so_far();
    for (auto _ : state) {
        clear_window();
        kamera->set(player->x, player->y);
        draw_screen();
        benchmark::ClobberMemory();
    }
    report_allocations(state, before);
}
BENCHMARK(BM_FrameWholeScreen)->Unit(benchmark::kMicrosecond);

void draw_frame() {
    clear_window();
    draw_screen();
}

// The frame of a pass in which nothing changed: the drawing calls are made and found to be the
// ones of the picture on the screen, so nothing is drawn or presented.
void BM_FrameUnchanged(benchmark::State& state) {
    build_world();
    sight_and_light_pass();
    kamera->set(player->x, player->y);
    draw_if_changed(draw_frame);
    const int64_t before = bench::allocations_so_far();
    for (auto _ : state) {
        kamera->set(player->x, player->y);
        if (draw_if_changed(draw_frame)) state.SkipWithError("the picture changed");
        benchmark::ClobberMemory();
    }
    report_allocations(state, before);
}
BENCHMARK(BM_FrameUnchanged)->Unit(benchmark::kMicrosecond);

// Monsters that live through any number of turns: every fourth one a shooter, all of them
// fighting a player who cannot die here, with treasure heaps lying about.
void arm_the_monsters() {
    int32_t k = 0;
    monsters->for_each_of<TGegner>([&](std::shared_ptr<TGegner>& monster) {
        monster->hp = 1 << 24;
        monster->attack = 50;
        monster->luck = 5;
        monster->dmg = 3;
        if (k++ % 4 == 0) {
            monster->attack_range = 6;
            monster->range_dmg = 2;
        }
    });
    player->hp = player->hpmax = 1 << 24;
    for (int32_t h = 0; h < kHeaps; ++h) {
        const FloorTile at = random_floor();
        auto heap = new_record<TTreasure>();
        heap->x = at.x;
        heap->y = at.y;
        heap->gold = 1;
        treasures->append(heap);
    }
}

// Missiles fly up to 20 tiles from random floor tiles; the ones that stopped are replaced, so
// that each pass moves kMissilesInFlight of them.
void top_up_missiles() {
    for (int32_t k = missiles->count(); k < kMissilesInFlight; ++k) {
        const FloorTile at = random_floor();
        TGeschoss::create(random_range(1, 4), 20, 3, at.x, at.y, 60);
    }
}

void BM_MonstersTurn(benchmark::State& state) {
    build_world();
    arm_the_monsters();
    sight_and_light_pass();
    const int64_t before = bench::allocations_so_far();
    for (auto _ : state) {
        TGegner::update();
        missiles->clear();  // the shots of the turn; the missile pass is measured on its own
        benchmark::ClobberMemory();
    }
    report_allocations(state, before);
}
BENCHMARK(BM_MonstersTurn)->Unit(benchmark::kMicrosecond);

void BM_MissilePass(benchmark::State& state) {
    build_world();
    arm_the_monsters();
    sight_and_light_pass();
    const int64_t before = bench::allocations_so_far();
    for (auto _ : state) {
        top_up_missiles();
        TGeschoss::update();
        benchmark::ClobberMemory();
    }
    report_allocations(state, before);
}
BENCHMARK(BM_MissilePass)->Unit(benchmark::kMicrosecond);

void turn_cycle() {
    TGegner::update();
    TBuff::update(0);
    player->updatehealth();
    TKarte::darken_sight();
    kamera->in_sight(player->x, player->y, 5);
    see_own_tile(player->x, player->y);
    update_switches();
    TDoor::update();
    kamera->in_sight(player->x, player->y, 5);
    update_lights();
    TTreasure::update();
}

// The frame cycle's steps after the drawing, which every pass runs, turn or not.
void pass_upkeep() {
    TBuff::update(1);
    TKarte::update();
    player->update();
    TGeschoss::update();
}

// A whole pass of the main loop in which nothing happens, as in a window left alone: with nothing
// changed since the last frame, the frame is not looked at. Argument 1 empties the core's caches
// before each pass, as 50 ms of sleep between a window's passes does.
void BM_IdlePass(benchmark::State& state) {
    build_world();
    sight_and_light_pass();
    for (int32_t pass = 0; pass < 3; ++pass)
        run_pass();
    std::vector<uint8_t> sweep(16 << 20);
    const int64_t before = bench::allocations_so_far();
    for (auto _ : state) {
        if (state.range(0) == 1) {
            state.PauseTiming();
            for (size_t at = 0; at < sweep.size(); at += 64)
                sweep[at] += 1;
            benchmark::DoNotOptimize(sweep.data());
            state.ResumeTiming();
        }
        if (run_pass().turn_taken) state.SkipWithError("a turn was taken");
        benchmark::ClobberMemory();
    }
    report_allocations(state, before);
}
BENCHMARK(BM_IdlePass)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IdlePass)->Arg(1)->Iterations(400)->Unit(benchmark::kMicrosecond);

// The turn cycle in its order, and the pass's missile step, with the monsters above.
void BM_WholeTurn(benchmark::State& state) {
    build_world();
    arm_the_monsters();
    sight_and_light_pass();
    // A few turns first: the first shots and lines grow the storage kept for the later ones.
    for (int32_t turn = 0; turn < 5; ++turn) {
        top_up_missiles();
        turn_cycle();
        TGeschoss::update();
    }
    const int64_t before = bench::allocations_so_far();
    for (auto _ : state) {
        top_up_missiles();
        turn_cycle();
        TGeschoss::update();
        benchmark::ClobberMemory();
    }
    report_allocations(state, before);
}
BENCHMARK(BM_WholeTurn)->Unit(benchmark::kMicrosecond);

// The same with the player stepping to a floor tile beside it and back, turn after turn: its
// light and its sight cover other cells each turn, as in a game.
void BM_WholeTurnWalking(benchmark::State& state) {
    build_world();
    arm_the_monsters();
    sight_and_light_pass();
    const FloorTile home{player->x, player->y};
    FloorTile away = home;
    for (const FloorTile step : {FloorTile{1, 0}, FloorTile{-1, 0}, FloorTile{0, 1}}) {
        if (tile_grid.at(home.x + step.x, home.y + step.y)->ID == TKarte::MAP_RAUM) {
            away = {home.x + step.x, home.y + step.y};
            break;
        }
    }
    bool out = false;
    auto walk = [&] {
        out = !out;
        player->x = out ? away.x : home.x;
        player->y = out ? away.y : home.y;
        top_up_missiles();
        turn_cycle();
        TGeschoss::update();
    };
    for (int32_t turn = 0; turn < 5; ++turn)
        walk();
    const int64_t before = bench::allocations_so_far();
    for (auto _ : state) {
        walk();
        benchmark::ClobberMemory();
    }
    report_allocations(state, before);
}
BENCHMARK(BM_WholeTurnWalking)->Unit(benchmark::kMicrosecond);

// A pass in which the player does nothing, before its drawing: no missile in flight.
void BM_PassWithoutTurn(benchmark::State& state) {
    build_world();
    arm_the_monsters();
    sight_and_light_pass();
    pass_upkeep();
    const int64_t before = bench::allocations_so_far();
    for (auto _ : state) {
        pass_upkeep();
        benchmark::ClobberMemory();
    }
    report_allocations(state, before);
}
BENCHMARK(BM_PassWithoutTurn)->Unit(benchmark::kMicrosecond);

// A whole pass with a turn, as the main loop runs it: the turn, the frame and the upkeep.
void BM_WholePassWithTurn(benchmark::State& state) {
    build_world();
    arm_the_monsters();
    sight_and_light_pass();
    const int64_t before = bench::allocations_so_far();
    for (auto _ : state) {
        turn_cycle();
        kamera->set(player->x, player->y);
        if (draw_if_changed(draw_frame)) present_frame();
        pass_upkeep();
        missiles->clear();  // the monsters' shots would pile up over the iterations
        benchmark::ClobberMemory();
    }
    report_allocations(state, before);
}
BENCHMARK(BM_WholePassWithTurn)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace grotmere
