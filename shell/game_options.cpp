#include "shell/game_options.hpp"

#include "base/portable.hpp"

#include "files/output_files.hpp"
#include "run/command_line.hpp"
#include "run/data_folder.hpp"

#ifndef GROTMERE_VERSION
#define GROTMERE_VERSION "unknown"
#endif

namespace grotmere {

namespace {

std::optional<double> parse_speed(const std::string& text) {
    const std::optional<double> speed = whole_text_as_double(text);
    if (!speed || !(*speed >= 0.125 && *speed <= 64)) return std::nullopt;
    return speed;
}

// Sets the option that takes a value; a message for a bad value or an unknown option.
std::optional<std::string> apply_valued(GameOptions& options, const std::string& name,
                                        const std::string& value) {
    if (name == "--seed") {
        options.seed = parse_seed(value);
        if (!options.seed) return "--seed takes a whole number";
    } else if (name == "--dir") {
        if (value.empty()) return "--dir takes a folder";
        options.dir = value;
    } else if (name == "--scale") {
        auto scale = parse_whole_number(value);
        if (!scale || *scale < 1 || *scale > kLargestScale)
            return "--scale takes a whole number from 1 to " + std::to_string(kLargestScale);
        options.scale = static_cast<int32_t>(*scale);
    } else if (name == "--record") {
        if (value.empty()) return "--record takes a file";
        options.record_file = value;
    } else if (name == "--morgue") {
        if (value.empty()) return "--morgue takes a file";
        options.morgue_file = value;
    } else if (name == "--replay") {
        if (value.empty()) return "--replay takes a recording";
        options.replay_file = value;
    } else if (name == "--speed") {
        const std::optional<double> speed = parse_speed(value);
        if (!speed) return "--speed takes a number from 0.125 to 64";
        options.speed = *speed;
    } else {
        return "unknown option " + name;
    }
    return std::nullopt;
}

bool takes_value(const std::string& name) {
    return name == "--seed" || name == "--dir" || name == "--scale" || name == "--record" ||
           name == "--morgue" || name == "--replay" || name == "--speed";
}

// Options that contradict each other, or one without the option it belongs to.
std::optional<std::string> clash_of(const GameOptions& options, bool speed_given) {
    if (speed_given && !options.replay_file) return "--speed goes with --replay";
    if (options.replay_file && (options.record_file || options.morgue_file))
        return "a replay writes no recording or morgue file: --record and --morgue go without "
               "--replay";
    if (!options.record && options.record_file)
        return "--record and --no-record contradict each other";
    if (options.new_dungeon && options.replay_file)
        return "--new-dungeon plays a new game; a recording names its own dungeon";
    // Only a recorded game with the aids is kept, so only such a game can be continued.
    if (options.continue_game &&
        (options.replay_file || options.classic || !options.record || options.record_file))
        return "--continue goes on with the kept game: it goes without --replay, --classic, "
               "--no-record and --record";
    if (options.record_file && options.morgue_file &&
        same_output(*options.record_file, *options.morgue_file))
        return "--record and --morgue name the same file";
    return std::nullopt;
}

}  // namespace

GameArgs parse_game_args(const std::vector<std::string>& args) {
    GameArgs parsed;
    bool speed_given = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            parsed.action = GameArgs::Action::Help;
            return parsed;
        }
        if (arg == "--version") {
            parsed.action = GameArgs::Action::Version;
            return parsed;
        }
        if (arg == "--scores") {
            parsed.action = GameArgs::Action::Scores;
            continue;
        }
        if (arg == "--fullscreen") {
            parsed.options.fullscreen = true;
        } else if (arg == "--classic") {
            parsed.options.classic = true;
        } else if (arg == "--no-record") {
            parsed.options.record = false;
        } else if (arg == "--new-dungeon") {
            parsed.options.new_dungeon = true;
        } else if (arg == "--continue") {
            parsed.options.continue_game = true;
        } else if (takes_value(arg) && i + 1 >= args.size()) {
            parsed.usage_error = arg + " needs a value";
            return parsed;
        } else if (auto error = apply_valued(parsed.options, arg,
                                             takes_value(arg) ? args[++i] : std::string())) {
            parsed.usage_error = *error;
            return parsed;
        }
        speed_given = speed_given || arg == "--speed";
    }
    parsed.usage_error = clash_of(parsed.options, speed_given);
    return parsed;
}

std::string game_usage() {
    return "usage: grotmere [OPTION]...\n"
           "Plays Grotmere in a window.\n"
           "\n"
           "  --seed N      start the random numbers from N instead of the clock\n"
           "  --dir DIR     the folder holding bifs/ and build.cnt (default: the current one)\n"
           "  --fullscreen  start on the whole screen (F11 or Alt+Enter switches)\n"
           "  --scale N     start the window N times the picture's size, 1 to " +
           std::to_string(kLargestScale) +
           "\n"
           "  --classic     show only the game's own picture: no side panel, help or history\n"
           "  --continue    continue the game left unfinished on these data files at once\n"
           "  --new-dungeon play a dungeon generated from the seed, kept in\n"
           "                $XDG_DATA_HOME/grotmere/dungeons/SEED/\n"
           "  --record FILE write the game's recording to FILE (default: a new file in\n"
           "                $XDG_DATA_HOME/grotmere/recordings/, or ~/.local/share/...)\n"
           "  --no-record   do not record the game\n"
           "  --morgue FILE write the summary of the run to FILE (default: beside the recordings,\n"
           "                in morgue/)\n"
           "  --replay FILE play a recording back; Space pauses, + and - change the speed,\n"
           "                Escape stops\n"
           "  --speed X     with --replay: play the recording X times faster (0.125 to 64)\n"
           "  --help        print this text and exit\n"
           "  --version     print the version and exit\n"
           "  --scores      print the hall of fame of the data folder and exit\n"
           "\n"
           "\n"
           "Without --seed, the seed is taken from the clock and shown in the morgue file.\n"
           "In the game, F1 shows the keys and F2 the message history; Escape quits.\n";
}

std::string game_version(const std::optional<std::string>& dir) {
    const DataFolderSearch search = find_data_folder(dir, data_folder_places());
    return std::string("grotmere ") + GROTMERE_VERSION + "\n" +
           (search.found ? "data folder: " + search.found->string() : search.problem) + "\n";
}

}  // namespace grotmere
