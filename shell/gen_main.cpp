// grotmere-gen: writes the generated dungeon of a seed as a data folder.
//   grotmere-gen --seed N --out DIR [--dir SOURCE] [--picture FILE.png]
//   grotmere-gen --survey N [--dir SOURCE]
// SOURCE (default: the game's data folder, found as the game finds it) gives the monsters, items,
// keys and player the dungeon is made of.
#include <cstdio>
#include <optional>
#include <string>

#include "atlas/dungeon_picture.hpp"
#include "gen/layout_survey.hpp"
#include "shell/command_line.hpp"
#include "shell/data_folder.hpp"
#include "shell/generated_dungeon.hpp"

namespace {

constexpr int kUsageError = 2;

int usage(const std::string& problem) {
    std::fprintf(stderr,
                 "grotmere-gen: %s\nusage: grotmere-gen --seed N --out DIR [--dir SOURCE] "
                 "[--picture FILE.png]\n"
                 "       grotmere-gen --survey N [--dir SOURCE]\n",
                 problem.c_str());
    return kUsageError;
}

}  // namespace

int main(int argc, char** argv) {
    std::optional<int32_t> seed;
    std::optional<int32_t> survey;
    std::optional<std::string> out, source, picture;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help") {
            std::printf(
                "usage: grotmere-gen --seed N --out DIR [--dir SOURCE] [--picture FILE.png]\n"
                "       grotmere-gen --survey N [--dir SOURCE]\n");
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
        } else if (option == "--picture") {
            picture = value;
        } else if (option == "--survey") {
            survey = grotmere::parse_seed(value);
            if (!survey || *survey < 1) return usage("--survey takes a number of seeds");
        } else {
            return usage("unknown option " + option);
        }
    }
    if (!survey && (!seed || (!out && !picture)))
        return usage("--seed and --out (or --picture) are both needed");
    const grotmere::DataFolderSearch found =
        grotmere::find_data_folder(source, grotmere::data_folder_places());
    if (!found.found) {
        std::fprintf(stderr, "grotmere-gen: %s\n", found.problem.c_str());
        return kUsageError;
    }
    if (survey) {
        const grotmere::gen::Palette palette =
            grotmere::read_palette(std::filesystem::absolute(*found.found));
        std::printf(
            "%s",
            grotmere::gen::survey_text(grotmere::gen::survey_layouts(palette, *survey)).c_str());
        return 0;
    }
    std::string error;
    // A picture alone is drawn of the dungeon written to a scratch folder, which goes again.
    const std::filesystem::path target =
        out ? std::filesystem::absolute(*out)
            : std::filesystem::temp_directory_path() / ("grotmere_gen_" + std::to_string(*seed));
    const auto dungeon = grotmere::generate_data_folder(
        *seed, std::filesystem::absolute(*found.found), target, error);
    if (!out) std::filesystem::remove_all(target);
    if (!dungeon) {
        std::fprintf(stderr, "grotmere-gen: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s: %d x %d tiles, %zu depths, %zu rooms, %zu monsters%s%s\n",
                grotmere::generated_dungeon_line(*seed).c_str(), dungeon->width, dungeon->height,
                dungeon->depths.size(), dungeon->rooms.size(), dungeon->spawns.size(),
                out ? ", in " : "", out ? out->c_str() : "");
    if (picture && !grotmere::write_dungeon_picture(*dungeon, *picture, error)) {
        std::fprintf(stderr, "grotmere-gen: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
