// Feeds arbitrary bytes to a switch: the first eight bytes pick the column and row it searches
// (any value, -1 included), the rest is its effect text. The text runs against a small map of
// doors and lights of the target's name, then the switch pass and the door and light updates of
// a turn run on what it changed. Whatever the text and the search, nothing may read outside the
// map or walk for ever. The world is renewed without renewing the whole grid and frame, so an
// input costs what its small map holds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "actors/player.hpp"
#include "actors/world_passes.hpp"
#include "records/field_registry.hpp"
#include "run/record_types.hpp"
#include "world/door.hpp"
#include "world/karte.hpp"
#include "world/karten_tile.hpp"
#include "world/leuchte.hpp"
#include "world/schalter.hpp"
#include "world/world_state.hpp"

namespace {

int32_t read_int(const uint8_t* data, size_t size, size_t at) {
    uint32_t value = 0;
    for (size_t k = 0; k < 4 && at + k < size; ++k)
        value |= uint32_t{data[at + k]} << (8 * k);
    return static_cast<int32_t>(value);
}

template <class T>
std::shared_ptr<T> put(int32_t x, int32_t y) {
    auto made = grotmere::new_record<T>();
    made->name = "Target";
    grotmere::tile_grid.at(x, y)->gegenstaende()->append(made);
    return made;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace grotmere;
    static const bool registered = (register_record_types(), reset_world(), true);
    (void)registered;
    map_width = 6;
    map_height = 5;
    karte = TKarte::construct();
    put<TDoor>(1, 1)->locked = 1;
    put<TDoor>(4, 3)->open = 1;
    put<TLeuchte>(2, 2)->brenndauer = 3;
    player = TPlayer::create("Fuzz", 30, 0, 0, 50, 30, 3);
    player->usemode = 1;

    auto schalter = new_record<TSchalter>();
    schalter->art = size % 2 == 0 ? "trigger" : "button";
    schalter->ziel_name = "Target";
    schalter->ziel_x = read_int(data, size, 0);
    schalter->ziel_y = read_int(data, size, 4);
    if (size > 8) schalter->wirkung.assign(reinterpret_cast<const char*>(data) + 8, size - 8);
    tile_grid.at(0, 0)->gegenstaende()->append(schalter);

    schalter->parse_wirkung();
    update_switches();
    TDoor::update();
    update_lights();
    TKarte::update();
    // What the input made is freed before the next, so that libFuzzer finds as many frees as
    // allocations and has no leak to look for; the grid keeps its storage.
    reset_world_for_fuzzing();
    return 0;
}
