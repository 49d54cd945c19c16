// grotmere-gen: writes the generated dungeon of a seed as a data folder.
//   grotmere-gen --seed N --out DIR [--dir SOURCE]
// SOURCE (default: the game's data folder, found as the game finds it) gives the monsters, items,
// keys and player the dungeon is made of.
#include <cstdio>
#include <optional>
#include <string>

#include "base/safe_file.hpp"
#include "run/command_line.hpp"
#include "run/data_folder.hpp"
#include "shell/generated_dungeon.hpp"

namespace {

constexpr int kUsageError = 2;

int usage(const std::string& problem) {
    std::fprintf(stderr,
                 "grotmere-gen: %s\nusage: grotmere-gen --seed N --out DIR [--dir SOURCE]\n",
                 problem.c_str());
    return kUsageError;
}

}  // namespace

int main(int argc, char** argv) try {
    std::optional<int32_t> seed;
    std::optional<std::string> out, source;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help") {
            std::printf("usage: grotmere-gen --seed N --out DIR [--dir SOURCE]\n");
            return 0;
        }
        if (i + 1 >= argc) return usage(option + " needs a value");
        const std::string value = argv[++i];
        if (option == "--seed") {
            seed = grotmere::parse_seed(value);
            if (!seed) return usage("--seed takes a whole number");
        } else if (option == "--out") {
            out = value;
        } else if (option == "--dir") {
            source = value;
        } else {
            return usage("unknown option " + option);
        }
    }
    if (!seed || !out) return usage("--seed and --out are both needed");
    const grotmere::DataFolderSearch found =
        grotmere::find_data_folder(source, grotmere::data_folder_places());
    if (!found.found) {
        std::fprintf(stderr, "grotmere-gen: %s\n", found.problem.c_str());
        return kUsageError;
    }
    std::string error;
    bool refused = false;
    const auto dungeon = grotmere::generate_data_folder(
        *seed, std::filesystem::absolute(*found.found),
        out->empty() ? std::filesystem::path() : std::filesystem::absolute(*out).lexically_normal(),
        error, &refused);
    if (!dungeon) {
        std::fprintf(stderr, "grotmere-gen: %s\n", error.c_str());
        return refused ? kUsageError : 1;
    }
    std::printf("%s: %d x %d tiles, %zu rooms, %zu monsters, in %s\n",
                grotmere::generated_dungeon_line(*seed).c_str(), dungeon->width, dungeon->height,
                dungeon->rooms.size(), dungeon->spawns.size(), out->c_str());
    return 0;
} catch (const std::filesystem::filesystem_error& error) {
    // No program ends on an abort for a file it could not handle.
    std::fprintf(stderr, "grotmere-gen: %s\n", grotmere::file_system_failure(error).c_str());
    return 1;
}
