// The whole game between two passes, as bytes: what a replay keeps to go back to, and what a kept
// game leaves beside its recording to go on from. The bytes hold every root the dump holds
// (replay/state_roots.hpp: the same list, so a root added there is kept too), the random
// generator, every other part of the game's own state (world/world_state.hpp: a member added
// there fails to build here until it is kept or named as worked out anew), and the overlay open in
// the window. Records go through the registry (records/record_graph.hpp), so a new field or
// record type is kept without a word here.
//
// Putting bytes back replaces all of that at once, and the caches worked out from the world are
// made anew (world_changed_outside_passes), so the passes after it are those after the pass the
// bytes were taken at. Bytes of another build's registry, or bytes that do not read, change
// nothing. What the bytes leave out belongs to the program run, not the game: the keyboard and
// the aids' keys and walks, which a snapshot held in memory keeps as copies (RunningParts) and a
// continued game starts afresh.
#pragma once

#include <any>
#include <optional>
#include <string>
#include <string_view>

#include "platform/keyboard.hpp"

namespace grotmere {

std::string game_state_bytes();
// None when the game now stands where the bytes say; else why they are no state of this build,
// the game left as it was.
std::optional<std::string> put_back_game_state(std::string_view bytes);

struct RunningParts {
    KeyboardState keyboard;
    std::any window_aids;
    std::any aid_keys;
    std::any walking;
};
RunningParts running_parts();
void put_back_running_parts(const RunningParts& parts);

}  // namespace grotmere
