// The morgue file: a plain-text summary of a run, written whenever a game ends. It names the date,
// build and seed, how the run ended, its turns and passes, the player's level, experience, gold,
// equipment, inventory and active effects, the monsters slain, the last lines of the log, and the
// part of the map the player has seen, drawn as text. It reads the world and changes nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "files/output_files.hpp"

namespace grotmere {

struct MorgueFacts {
    std::string date;  // "2026-12-07 14:05:09"
    int32_t seed = 0;
    std::string ending;  // "death", "escape", "close", "escaped" or "script"
    int64_t turns = 0;
    int64_t passes = 0;
    std::vector<std::string> last_lines;  // oldest first
    std::string data_folder;              // where bifs/ was read from
    std::string dungeon;                  // a generated one: "generator 1, seed 42"
    std::string recording;                // the path of the game's recording, when it has one
    std::string depth;                    // the deepest depth reached: "3 of 5"; "" for none
    std::string daily;                    // the day of a daily game: "2026-12-09"
};

inline constexpr size_t kMorgueLogLines = 30;

std::string morgue_text(const MorgueFacts& facts);

// The seen part of the map: '#' wall, '.' floor, '+' closed door, '/' open door, 'T' heap, 'Q'
// the player, a blank where nothing was seen; cut to the seen tiles' rectangle.
std::vector<std::string> seen_map_rows();

// Writes the file (making its folder): its path, or none, with a warning on standard error, when
// it cannot be written.
std::optional<std::string> write_morgue(const OutputTarget& target, const std::string& text);

// The message history's last lines, oldest first, repeats merged, at most kMorgueLogLines.
std::vector<std::string> recent_log_lines();

// "2026-12-07 14:05:09", the local time now.
std::string local_time_text();

}  // namespace grotmere
