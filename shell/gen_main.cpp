// grotmere-gen: writes the generated dungeon of a seed as a data folder, draws it as a picture,
// or surveys the layouts of many seeds. The source data folder (default: the game's, found as the
// game finds it) gives the monsters, items, keys and player the dungeon is made of.
#include <stdlib.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "atlas/dungeon_picture.hpp"
#include "base/command_line.hpp"
#include "base/safe_file.hpp"
#include "gen/layout_survey.hpp"
#include "run/data_folder.hpp"
#include "shell/generated_dungeon.hpp"

namespace {

namespace fs = std::filesystem;

const grotmere::ProgramOptions& gen_command_line() {
    static const grotmere::ProgramOptions declared{
        "grotmere-gen",
        "grotmere-gen --seed N --out DIR [--dir SOURCE] [--picture FILE]\n"
        "grotmere-gen --seed N --picture FILE [--dir SOURCE]\n"
        "grotmere-gen --survey N [--dir SOURCE]",
        "Writes the dungeon generated from a seed as a data folder the game plays.",
        {
            {"seed", "N", "the dungeon's seed"},
            {"out", "DIR", "the folder to write: made anew, or one grotmere-gen wrote before"},
            {"dir", "SOURCE",
             "the data folder whose monsters, items and player the dungeon is\n"
             "made of (default: the game's)"},
            {"picture", "FILE", "draw the whole dungeon as a PNG picture, with a legend"},
            {"survey", "N", "print the layout figures of the dungeons of seeds 1 to N"},
        },
        "Exit status: 0 written, 1 failed, 2 a usage error or a folder refused."};
    return declared;
}

struct GenOptions {
    std::optional<int32_t> seed;
    std::optional<int32_t> survey;
    std::optional<std::string> out, source, picture;
};

// The options, or the usage error.
std::optional<std::string> read_options(const grotmere::CommandLine& line, GenOptions& options) {
    for (const grotmere::GivenOption& given : line.options) {
        if (given.name == "seed") {
            options.seed = grotmere::parse_seed(given.value);
            if (!options.seed) return "--seed takes a whole number";
        }
        if (given.name == "survey") {
            options.survey = grotmere::parse_seed(given.value);
            if (!options.survey || *options.survey < 1) return "--survey takes a number of seeds";
        }
        if (given.name == "out") options.out = given.value;
        if (given.name == "dir") options.source = given.value;
        if (given.name == "picture") options.picture = given.value;
    }
    if (!options.survey && (!options.seed || (!options.out && !options.picture)))
        return "--seed and --out (or --picture) are both needed";
    return std::nullopt;
}

int survey(const fs::path& source, int32_t seeds) {
    const grotmere::gen::Palette palette = grotmere::read_palette(source);
    std::fputs(grotmere::gen::survey_text(grotmere::gen::survey_layouts(palette, seeds)).c_str(),
               stdout);
    return 0;
}

// A picture alone is drawn of the dungeon written to a scratch folder of its own, made new.
std::optional<fs::path> scratch_folder() {
    std::string name = (fs::temp_directory_path() / "grotmere_gen_XXXXXX").string();
    if (::mkdtemp(name.data()) == nullptr) return std::nullopt;
    return fs::path(name) / "dungeon";
}

int generate(const GenOptions& options, const fs::path& source) {
    const std::optional<fs::path> scratch = options.out ? std::nullopt : scratch_folder();
    if (!options.out && !scratch) {
        std::fprintf(stderr, "grotmere-gen: cannot make a scratch folder for the picture\n");
        return grotmere::kExitFailure;
    }
    const fs::path target =
        options.out
            ? (options.out->empty() ? fs::path() : fs::absolute(*options.out).lexically_normal())
            : *scratch;
    std::string error;
    bool refused = false;
    const auto dungeon =
        grotmere::generate_data_folder(*options.seed, source, target, error, &refused);
    if (scratch) fs::remove_all(scratch->parent_path());
    if (!dungeon) {
        std::fprintf(stderr, "grotmere-gen: %s\n", error.c_str());
        return refused ? grotmere::kUsageError : grotmere::kExitFailure;
    }
    std::printf("%s: %d x %d tiles, %zu depths, %zu rooms, %zu monsters%s%s\n",
                grotmere::generated_dungeon_line(*options.seed).c_str(), dungeon->width,
                dungeon->height, dungeon->depths.size(), dungeon->rooms.size(),
                dungeon->spawns.size(), options.out ? ", in " : "",
                options.out ? options.out->c_str() : "");
    if (options.picture && !grotmere::write_dungeon_picture(*dungeon, *options.picture, error)) {
        std::fprintf(stderr, "grotmere-gen: %s\n", error.c_str());
        return grotmere::kExitFailure;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) try {
    const grotmere::CommandLine line = grotmere::parse_command_line(
        gen_command_line(), std::vector<std::string>(argv + 1, argv + argc));
    GenOptions options;
    const std::optional<std::string> problem =
        line.error || line.action != grotmere::CommandLine::Action::Run
            ? line.error
            : read_options(line, options);
    if (auto done = grotmere::answer_before_running(gen_command_line(), line.action, problem))
        return *done;
    const grotmere::DataFolderSearch found =
        grotmere::find_data_folder(options.source, grotmere::data_folder_places());
    if (!found.found) {
        std::fprintf(stderr, "grotmere-gen: %s\n", found.problem.c_str());
        return grotmere::kUsageError;
    }
    const fs::path source = fs::absolute(*found.found);
    return options.survey ? survey(source, *options.survey) : generate(options, source);
} catch (const std::filesystem::filesystem_error& error) {
    // No program ends on an abort for a file it could not handle.
    std::fprintf(stderr, "grotmere-gen: %s\n", grotmere::file_system_failure(error).c_str());
    return grotmere::kExitFailure;
}
