// The world's passes that need the player or the monsters. The world's own rules know neither,
// so each of these gathers what they need and runs the world's part, in the game's order.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "records/load_problems.hpp"

namespace grotmere {

// The switch pass, worked by the player; nothing happens without a player.
int32_t update_switches();

// One turn of light: the carried light, then the lights in heaps, then the lights lying on the
// map; burnt-out lights are reported (the carried one) or removed (those in heaps).
int32_t update_lights();

// Loads the file as the map (read_map_file, world/map_file.hpp) with its monster spawns.
std::optional<LoadProblem> load_map_file(const std::string& file);

}  // namespace grotmere
