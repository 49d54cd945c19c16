// The real game's run from start to end on a given backend: start-up, then passes of the main
// loop until Escape, a close request or the game's own exit.
#pragma once

#include <optional>
#include <string>

#include "replay/key_script.hpp"

namespace grotmere {

class Backend;
struct GameOptions;

// A recording to play back, read before any window opens, so that a bad one costs no window.
struct ReplayFile {
    std::string path;
    KeyScript script;
};
// None, with the reason on standard error, when the file cannot be read or is no key script.
std::optional<ReplayFile> read_replay(const std::string& path);

// The process exit status: 0 when the game ran, the start-up's status when it could not start,
// 2 when the data folder cannot be entered or a file named cannot be written, 3 when a replay
// stops being the game recorded. With a replay, plays it back instead of a game.
int run_game(Backend& backend, const GameOptions& options, const ReplayFile* replay = nullptr);

}  // namespace grotmere
