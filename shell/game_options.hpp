// The command line of `grotmere`, the game in its window: its options are declared once, in
// game_command_line. Parsing opens nothing, so --help and --version work without a display.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/command_line.hpp"

namespace grotmere {

inline constexpr int32_t kLargestScale = 16;

struct GameOptions {
    std::optional<int32_t> seed;     // instead of the clock
    std::optional<std::string> dir;  // where bifs/ and build.cnt are; the working folder if none
    bool fullscreen = false;
    int32_t scale = 1;  // 1 to kLargestScale
    bool classic = false;
    // Every game is recorded unless told not to: to this file, else into the user's folder.
    bool record = true;
    std::optional<std::string> record_file;
    std::optional<std::string> morgue_file;  // else beside the recordings
    // Plays this recording back instead of a game, at this many times its pace.
    std::optional<std::string> replay_file;
    double speed = 1.0;
    // Plays the generated dungeon of the seed instead of the data folder's own map.
    bool new_dungeon = false;
    // Plays the day's dungeon (a new dungeon of the seed the UTC date gives); `daily_day` is the
    // day, set when the games begin.
    bool daily = false;
    std::string daily_day;
    // Continues the game left unfinished on these data files without asking.
    bool continue_game = false;
};

struct GameArgs {
    enum class Action { Play, Help, Version, Scores };
    Action action = Action::Play;
    GameOptions options;
    std::optional<std::string> usage_error;
};

// The game's options, declared once: the parser and --help read them.
const ProgramOptions& game_command_line();
GameArgs parse_game_args(const std::vector<std::string>& args);

// The version and the data folder the game would read (or why none was found).
std::string game_version(const std::optional<std::string>& dir);

}  // namespace grotmere
