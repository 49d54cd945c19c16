// What the game tells about a run afterwards, kept beside the rules and never read by them: what
// last hurt the player, and the monsters slain by name. The morgue file is written from it.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace grotmere {

struct Chronicle {
    // "Orc", "missile", "Poison Potion", "lasting effect": empty until something hurts the player.
    std::string last_harm;
    // Each kind of monster slain, in the order of its first kill, with its count.
    std::vector<std::pair<std::string, int32_t>> kills;
};

// The player lost health to this.
void note_harm(const std::string& cause);
// A monster of this name died.
void note_kill(const std::string& name);

}  // namespace grotmere
