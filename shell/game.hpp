// The real game's run from start to end on a given backend: start-up, then passes of the main
// loop until Escape, a close request or the game's own exit.
#pragma once

namespace grotmere {

class Backend;
struct GameOptions;

// The process exit status: 0 when the game ran, the start-up's status when it could not start,
// 2 when the data folder cannot be entered.
int run_game(Backend& backend, const GameOptions& options);

}  // namespace grotmere
