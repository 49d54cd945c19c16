// The command line of `grotmere`, the game in its window:
//
//   grotmere [--seed N] [--dir DIR] [--fullscreen] [--scale N] [--classic]
//   grotmere --help | --version
//
// Parsing opens nothing, so --help and --version work without a display.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace grotmere {

inline constexpr int32_t kLargestScale = 16;

struct GameOptions {
    std::optional<int32_t> seed;     // instead of the clock
    std::optional<std::string> dir;  // where bifs/ and build.cnt are; the working folder if none
    bool fullscreen = false;
    int32_t scale = 1;  // 1 to kLargestScale
    bool classic = false;
};

struct GameArgs {
    enum class Action { Play, Help, Version };
    Action action = Action::Play;
    GameOptions options;
    std::optional<std::string> usage_error;
};

GameArgs parse_game_args(const std::vector<std::string>& args);

// The text --help prints; also printed after a usage error.
std::string game_usage();
std::string game_version();

}  // namespace grotmere
