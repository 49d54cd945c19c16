// The whole game from one input: the bytes become a small data set and a key script, separated by
// lines of "%%" (item prototypes, monster prototypes, the map file, the player file, the keys),
// written as the files of a game folder. The game's own start-up and main loop then run on the
// headless backend for at most kMostPasses passes, and after every pass the world must hold
// together: the player and every monster, treasure and missile on the map, every tile of the map
// present, every monster's modifiers its own.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "actors/buff.hpp"
#include "actors/gegner.hpp"
#include "actors/geschoss.hpp"
#include "actors/player.hpp"
#include "actors/treasure.hpp"
#include "platform/drawing.hpp"
#include "platform/headless_backend.hpp"
#include "platform/platform.hpp"
#include "replay/key_script.hpp"
#include "run/main_loop.hpp"
#include "run/startup.hpp"
#include "run/startup_definitions.hpp"
#include "world/map_file.hpp"
#include "world/world_state.hpp"

namespace {

using namespace grotmere;

constexpr int64_t kMostPasses = 64;

const char* const kBindings =
    "TTastatur { go_left = 37 go_up = 38 go_right = 39 go_down = 40 look = 76 get = 71 use = 85\n"
    "ready_bow = 82 wait = 87 toggle_inv = 73 toggle_wearings = 69 inv_1 = 49 inv_2 = 50\n"
    "inv_3 = 51 inv_4 = 52 inv_5 = 53 inv_6 = 54 inv_7 = 55 inv_8 = 56 inv_9 = 57 inv_10 = 48\n"
    "drop = 160 }\n";

void fail(const char* what) {
    std::fprintf(stderr, "game_fuzzer: the world does not hold together: %s\n", what);
    std::abort();
}

std::vector<std::string_view> sections_of(std::string_view input) {
    std::vector<std::string_view> sections;
    for (size_t at; sections.size() < 4 && (at = input.find("\n%%\n")) != std::string_view::npos;) {
        sections.push_back(input.substr(0, at));
        input.remove_prefix(at + 4);
    }
    sections.push_back(input);
    sections.resize(5);
    return sections;
}

void write_file(const std::string& path, std::string_view text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(text.data(), text.size());
}

// The game runs in a folder of its own, made once for the whole fuzzing run and removed at its
// end.
std::filesystem::path game_folder;

void remove_game_folder() {
    std::error_code ignored;
    std::filesystem::remove_all(game_folder, ignored);
}

void enter_game_folder() {
    static bool entered = false;
    if (entered) return;
    game_folder = std::filesystem::temp_directory_path() /
                  ("grotmere_game_fuzz_" + std::to_string(::getpid()));
    std::filesystem::create_directories(game_folder / "bifs");
    std::filesystem::current_path(game_folder);
    std::atexit(remove_game_folder);
    write_file("build.cnt", "1\nfuzz\n");
    // The game's own lines on standard output would only slow the run down.
    if (std::freopen("/dev/null", "w", stdout) == nullptr) fail("no /dev/null");
    write_file(kBindingFile, kBindings);
    entered = true;
}

template <class T>
void each(const ListRef& list, auto&& check) {
    if (!list) fail("a program-wide list is gone");
    list->for_each_of<T>([&](std::shared_ptr<T>& record) { check(*record); });
}

void check_world() {
    if (!player) fail("no player");
    if (!inside_map(player->x, player->y)) fail("the player is off the map");
    for (int32_t x = 0; x < map_width; ++x) {
        for (int32_t y = 0; y < map_height; ++y) {
            if (map_tile(x, y) == nullptr) fail("a tile of the map is missing");
        }
    }
    each<TGegner>(monsters, [](TGegner& monster) {
        if (!inside_map(monster.x, monster.y)) fail("a monster is off the map");
        if (!monster.buffs) return;
        monster.buffs->for_each_of<TBuff>([&](std::shared_ptr<TBuff>& buff) {
            if (buff->ziel.lock().get() != &monster) fail("a monster holds another's modifier");
        });
    });
    each<TTreasure>(treasures, [](TTreasure& heap) {
        if (!inside_map(heap.x, heap.y)) fail("a treasure is off the map");
    });
    each<TGeschoss>(missiles, [](TGeschoss& missile) {
        if (!TileGrid::in_grid(missile.x, missile.y)) fail("a missile is off the grid");
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    enter_game_folder();
    const std::vector<std::string_view> sections =
        sections_of(std::string_view(reinterpret_cast<const char*>(data), size));
    write_file(kItemFile, sections[0]);
    write_file(kMonsterFile, sections[1]);
    write_file(kMapFile, sections[2]);
    write_file(kPlayerFile, sections[3]);
    ScriptParse keys = parse_key_script(std::string(sections[4]));
    if (keys.error) return 0;

    // A frame skipped as unchanged that would have looked different throws: a finding.
    static const bool registered = (reset_world(), check_unchanged_frames(true), true);
    (void)registered;
    HeadlessBackend backend;
    set_backend(&backend);
    if (!start_game(StartupOptions{1})) {
        check_world();
        const int64_t passes = std::min(keys.script.total_passes(), kMostPasses);
        ScriptCursor cursor(keys.script);
        for (int64_t pass = 0; pass < passes; ++pass) {
            backend.queue_pass(cursor.next().value_or(PassInput{}));
            const PassResult result = run_pass();
            if (result.end) break;
            check_world();
        }
    }
    set_backend(nullptr);
    // Freed before the next input, so that libFuzzer finds as many frees as allocations.
    reset_world_for_fuzzing();
    return 0;
}
