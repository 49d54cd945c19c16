#include "shell/game_options.hpp"

#include "base/portable.hpp"

#include "base/command_line.hpp"
#include "files/output_files.hpp"
#include "run/data_folder.hpp"

namespace grotmere {

namespace {

std::optional<double> parse_speed(const std::string& text) {
    const std::optional<double> speed = whole_text_as_double(text);
    if (!speed || !(*speed >= 0.125 && *speed <= 64)) return std::nullopt;
    return speed;
}

// The value of an option that takes one; a message for a bad value.
std::optional<std::string> apply_valued(GameOptions& options, const std::string& name,
                                        const std::string& value) {
    if (name == "seed") {
        options.seed = parse_seed(value);
        if (!options.seed) return "--seed takes a whole number";
    } else if (name == "dir") {
        if (value.empty()) return "--dir takes a folder";
        options.dir = value;
    } else if (name == "scale") {
        auto scale = parse_whole_number(value);
        if (!scale || *scale < 1 || *scale > kLargestScale)
            return "--scale takes a whole number from 1 to " + std::to_string(kLargestScale);
        options.scale = static_cast<int32_t>(*scale);
    } else if (name == "record") {
        if (value.empty()) return "--record takes a file";
        options.record_file = value;
    } else if (name == "morgue") {
        if (value.empty()) return "--morgue takes a file";
        options.morgue_file = value;
    } else if (name == "replay") {
        if (value.empty()) return "--replay takes a recording";
        options.replay_file = value;
    } else if (name == "speed") {
        const std::optional<double> speed = parse_speed(value);
        if (!speed) return "--speed takes a number from 0.125 to 64";
        options.speed = *speed;
    }
    return std::nullopt;
}

void apply_switch(GameArgs& parsed, const std::string& name) {
    GameOptions& options = parsed.options;
    if (name == "fullscreen") options.fullscreen = true;
    if (name == "classic") options.classic = true;
    if (name == "no-record") options.record = false;
    if (name == "new-dungeon") options.new_dungeon = true;
    if (name == "daily") options.daily = true;
    if (name == "continue") options.continue_game = true;
    if (name == "scores" && parsed.action == GameArgs::Action::Play)
        parsed.action = GameArgs::Action::Scores;
}

// Options that contradict each other, or one without the option it belongs to.
std::optional<std::string> clash_of(const GameOptions& options, bool speed_given) {
    if (speed_given && !options.replay_file) return "--speed goes with --replay";
    if (options.replay_file && (options.record_file || options.morgue_file))
        return "a replay writes no recording or morgue file: --record and --morgue go without "
               "--replay";
    if (!options.record && options.record_file)
        return "--record and --no-record contradict each other";
    if (options.daily && (options.seed || options.replay_file || options.new_dungeon))
        return "--daily plays the day's own dungeon: it goes without --seed, --replay and "
               "--new-dungeon";
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

const ProgramOptions& game_command_line() {
    static const ProgramOptions declared{
        "grotmere",
        "grotmere [OPTION]...",
        "Plays Grotmere in a window.",
        {
            {"seed", "N", "start the random numbers from N instead of the clock"},
            {"dir", "DIR",
             "the folder holding bifs/ and build.cnt (default: the current one,\n"
             "else the installed game's)"},
            {"fullscreen", "", "start on the whole screen (F11 or Alt+Enter switches)"},
            {"scale", "N", "start the window N times the picture's size, 1 to 16"},
            {"classic", "", "show only the game's own picture: no side panel, help or history"},
            {"continue", "", "continue the game left unfinished on these data files at once"},
            {"new-dungeon", "",
             "play a dungeon generated from the seed, kept in\n"
             "$XDG_DATA_HOME/grotmere/dungeons/"},
            {"record", "FILE",
             "write the game's recording to FILE (default: a new file in\n"
             "$XDG_DATA_HOME/grotmere/recordings/, or ~/.local/share/...)"},
            {"no-record", "", "do not record the game"},
            {"morgue", "FILE",
             "write the summary of the run to FILE (default: beside the\n"
             "recordings, in morgue/)"},
            {"replay", "FILE",
             "play a recording back; Space pauses, + and - change the speed,\n"
             "Escape stops"},
            {"speed", "X", "with --replay: play the recording X times faster (0.125 to 64)"},
            {"daily", "",
             "play today's dungeon, the one the UTC date gives every player;\n"
             "with --scores, print the day's best daily games"},
            {"scores", "", "print the hall of fame of the data folder and exit"},
        },
        "Without --seed, the seed is taken from the clock and shown in the morgue file.\n"
        "In the game, F1 shows the keys and F2 the message history.\n"
        "Exit status: 0 played, 1 failed, 2 a usage error or a file refused, 3 a replay that\n"
        "stops being the game recorded."};
    return declared;
}

GameArgs parse_game_args(const std::vector<std::string>& args) {
    GameArgs parsed;
    const CommandLine line = parse_command_line(game_command_line(), args);
    if (line.action == CommandLine::Action::Help) parsed.action = GameArgs::Action::Help;
    if (line.action == CommandLine::Action::Version) parsed.action = GameArgs::Action::Version;
    parsed.usage_error = line.error;
    if (line.error) return parsed;
    // --version names the data folder a --dir before it gives.
    const bool run = line.action == CommandLine::Action::Run;
    bool speed_given = false;
    for (const GivenOption& given : line.options) {
        if (auto error = apply_valued(parsed.options, given.name, given.value); error && run) {
            parsed.usage_error = *error;
            return parsed;
        }
        apply_switch(parsed, given.name);
        speed_given = speed_given || given.name == "speed";
    }
    if (!run) return parsed;
    parsed.usage_error = clash_of(parsed.options, speed_given);
    return parsed;
}

std::string game_version(const std::optional<std::string>& dir) {
    const DataFolderSearch search = find_data_folder(dir, data_folder_places());
    return version_line("grotmere") +
           (search.found ? "data folder: " + search.found->string() : search.problem) + "\n";
}

}  // namespace grotmere
