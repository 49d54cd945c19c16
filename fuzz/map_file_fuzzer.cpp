// Feeds arbitrary bytes to the map loader as a map file, then runs what a turn and a frame do
// with a map: sight, light and drawing, from a player placed by the input's first bytes, which
// may lie anywhere, inside the map or far outside it.
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
#include "shell/record_types.hpp"
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace grotmere;
    register_record_types();
    reset_world();
    std::vector<char> prototypes(kPrototypes,
                                 kPrototypes + std::char_traits<char>::length(kPrototypes));
    read_definitions_from_bytes(*item_prototypes, "items.bif", prototypes);
    read_definitions_from_bytes(*monster_prototypes, "monsters.bif", prototypes);

    static const std::string path = "/tmp/grotmere_map_fuzz_" + std::to_string(::getpid());
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    karte = std::make_shared<TKarte>();
    kamera = new_record<TKamera>();
    kamera->set_viewport(1, 1, 402, 245);
    load_map_file(path);
    std::remove(path.c_str());

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
    return 0;
}
