// Feeds arbitrary bytes to the map loader as a map file, then runs what a turn and a frame do
// with a map: sight, light and drawing, from a player placed by the input's first bytes, which
// may lie anywhere, inside the map or far outside it. Each input costs what its map holds: the
// world is renewed without renewing the whole grid and frame, a refused file ends the input (the
// game would not start), and the view is a small one, 12 x 5 cells, so that drawing it does not
// cost more than the rest together.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <unistd.h>

#include "actors/player.hpp"
#include "actors/world_passes.hpp"
#include "records/definition_loader.hpp"
#include "records/field_registry.hpp"
#include "run/record_types.hpp"
#include "world/kamera.hpp"
#include "world/karte.hpp"
#include "world/leuchte.hpp"
#include "world/map_file.hpp"
#include "world/world_state.hpp"

namespace {

const char* const kPrototypes =
    "TLeuchte { name = Lamp  reichweite = 5 }\n"
    "TLeuchte { name = Far  reichweite = 9 }\n"
    "TGegner { name = Rat }\n";

int32_t read_int(const uint8_t* data, size_t size, size_t at) {
    uint32_t value = 0;
    for (size_t k = 0; k < 4 && at + k < size; ++k)
        value |= uint32_t{data[at + k]} << (8 * k);
    return static_cast<int32_t>(value);
}

// Sight, light and drawing from a player placed by the input's first bytes.
void play_a_turn_and_a_frame(const uint8_t* data, size_t size) {
    using namespace grotmere;
    player = new_record<TPlayer>();
    player->x = read_int(data, size, 0) % 300;
    player->y = read_int(data, size, 4) % 300;
    player->leuchte = new_record<TLeuchte>();
    TKarte::update();
    TKarte::darken();
    kamera->in_sight(player->x, player->y, 5);
    update_lights();
    kamera->set(player->x, player->y);
    TKamera::render_all();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace grotmere;
    static const bool registered = (register_record_types(), reset_world(), true);
    (void)registered;
    // The prototypes are read once and handed to every input's world.
    static const std::vector<RecordRef> prototypes = [] {
        RecordList read;
        read_definitions_from_bytes(
            read, "prototypes.bif",
            std::vector<char>(kPrototypes,
                              kPrototypes + std::char_traits<char>::length(kPrototypes)));
        return read.records();
    }();
    for (const RecordRef& prototype : prototypes) {
        item_prototypes->append(prototype);
        monster_prototypes->append(prototype);
    }

    static const std::string path = "/tmp/grotmere_map_fuzz_" + std::to_string(::getpid());
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    kamera = new_record<TKamera>();
    kamera->set_viewport(1, 1, 62, 55);
    const bool refused = load_map_file(path).has_value();
    std::remove(path.c_str());
    if (!refused) play_a_turn_and_a_frame(data, size);
    // What the input made is freed before the next, so that libFuzzer finds as many frees as
    // allocations and has no leak to look for.
    reset_world_for_fuzzing();
    return 0;
}
