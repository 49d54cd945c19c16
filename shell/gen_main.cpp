// grotmere-gen: writes the generated dungeon of a seed as a data folder. The source data folder
// (default: the game's, found as the game finds it) gives the monsters, items, keys and player the
// dungeon is made of.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "base/command_line.hpp"
#include "base/safe_file.hpp"
#include "run/data_folder.hpp"
#include "shell/generated_dungeon.hpp"

namespace {

const grotmere::ProgramSpec& gen_command_line() {
    static const grotmere::ProgramSpec spec{
        "grotmere-gen",
        "grotmere-gen --seed N --out DIR [--dir SOURCE]",
        "Writes the dungeon generated from a seed as a data folder the game plays.",
        {
            {"seed", "N", "the dungeon's seed"},
            {"out", "DIR", "the folder to write: made anew, or one grotmere-gen wrote before"},
            {"dir", "SOURCE",
             "the data folder whose monsters, items and player the dungeon is\n"
             "made of (default: the game's)"},
        },
        "Exit status: 0 written, 1 failed, 2 a usage error or a folder refused."};
    return spec;
}

struct GenOptions {
    std::optional<int32_t> seed;
    std::optional<std::string> out, source;
};

// The options, or the usage error.
std::optional<std::string> read_options(const grotmere::CommandLine& line, GenOptions& options) {
    for (const grotmere::GivenOption& given : line.options) {
        if (given.name == "seed") {
            options.seed = grotmere::parse_seed(given.value);
            if (!options.seed) return "--seed takes a whole number";
        }
        if (given.name == "out") options.out = given.value;
        if (given.name == "dir") options.source = given.value;
    }
    if (!options.seed || !options.out) return "--seed and --out are both needed";
    return std::nullopt;
}

int generate(const GenOptions& options) {
    const grotmere::DataFolderSearch found =
        grotmere::find_data_folder(options.source, grotmere::data_folder_places());
    if (!found.found) {
        std::fprintf(stderr, "grotmere-gen: %s\n", found.problem.c_str());
        return grotmere::kUsageError;
    }
    const std::string& out = *options.out;
    std::string error;
    bool refused = false;
    const auto dungeon = grotmere::generate_data_folder(
        *options.seed, std::filesystem::absolute(*found.found),
        out.empty() ? std::filesystem::path() : std::filesystem::absolute(out).lexically_normal(),
        error, &refused);
    if (!dungeon) {
        std::fprintf(stderr, "grotmere-gen: %s\n", error.c_str());
        return refused ? grotmere::kUsageError : grotmere::kExitFailure;
    }
    std::printf("%s: %d x %d tiles, %zu rooms, %zu monsters, in %s\n",
                grotmere::generated_dungeon_line(*options.seed).c_str(), dungeon->width,
                dungeon->height, dungeon->rooms.size(), dungeon->spawns.size(), out.c_str());
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
    return generate(options);
} catch (const std::filesystem::filesystem_error& error) {
    // No program ends on an abort for a file it could not handle.
    std::fprintf(stderr, "grotmere-gen: %s\n", grotmere::file_system_failure(error).c_str());
    return grotmere::kExitFailure;
}
