// The world's two hot paths on the largest map: one turn's sight and light pass, and one frame of
// the map view. The map is 256 x 256 with a fifth of it walls, 1,000 burning lights of reach 5
// lying on tiles and 1,000 monsters, the player in the middle carrying a light of its own.
#include <benchmark/benchmark.h>

#include "actors/gegner.hpp"
#include "actors/player.hpp"
#include "bench/allocation_count.hpp"
#include "shell/field_registry.hpp"
#include "shell/main_loop.hpp"
#include "shell/world_state.hpp"
#include "ui/platform.hpp"
#include "ui/random.hpp"
#include "world/kamera.hpp"
#include "world/karte.hpp"
#include "world/karten_tile.hpp"
#include "world/leuchte.hpp"

namespace grotmere {
namespace {

constexpr int32_t kSide = 256;
constexpr int32_t kLights = 1000;
constexpr int32_t kMonsters = 1000;

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
    karte = std::make_shared<TKarte>();
    karte->randomfill(kSide * kSide / 5);
    tile_grid.at(kSide / 2, kSide / 2)->ID = TKarte::MAP_RAUM;  // the player's tile
    TKarte::update();
    for (int32_t k = 0; k < kLights; ++k) {
        const FloorTile at = random_floor();
        tile_grid.at(at.x, at.y)->gegenstaende->append(burning_light());
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
}

// The turn cycle's sight and light steps, in its order.
void sight_and_light_pass() {
    TKarte::darken();
    kamera->in_sight(player->x, player->y, 5);
    tile_grid.at(player->x, player->y)->sichtbar = 1;
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

}  // namespace
}  // namespace grotmere
