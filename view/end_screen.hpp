// The end screen: how the game ended in words, the run's figures, the monsters slain, where the
// morgue file went, and the two ways on.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace grotmere {

struct EndScreenFacts {
    std::string headline;  // "Killed by a Troll on turn 948."
    int64_t turns = 0;
    int32_t level = 0;
    int32_t xp = 0;
    int32_t gold = 0;
    std::vector<std::pair<std::string, int32_t>> kills;
    std::string morgue_path;  // empty when none was written
    int32_t seed = 0;
    std::string depth;         // the deepest depth reached, "3 of 5"; empty for none
    std::string daily_result;  // the line a daily game's player shares; empty for another game
    // The hall of fame of these data files, best first, and which line is this game (-1: none).
    std::vector<std::string> best;
    int32_t best_marked = -1;
};

// Over the whole window. Leaves the colour white.
void draw_end_screen(const EndScreenFacts& facts);

}  // namespace grotmere
