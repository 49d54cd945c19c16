// TSchalter, a switch: a "trigger" fires when stepped on, a "button" when used; its wirkung text
// changes a named field of the items called ziel_name around (ziel_x, ziel_y). An "exit" ends the
// game as a victory when the player stands on it at the end of a turn (escape_text).
#pragma once

#include <cstdint>
#include <string>

#include "records/record.hpp"

namespace grotmere {

// Who works the switches in a pass: where the player stands and whether it pressed the use key.
struct SwitchUser {
    int32_t x = 0;
    int32_t y = 0;
    int32_t usemode = 0;
};

// What an exit switch without a comment tells the player.
inline const std::string kEscapedText = "You have escaped!";

class TSchalter : public Record {
public:
    // The switch pass over the map, x outer, y inner. The game runs it through update_switches
    // (actors/world_passes.hpp), which knows the player.
    static int32_t update(const SwitchUser& user);
    int32_t parse_wirkung();

    std::string name;
    int32_t x = 0;
    int32_t y = 0;
    std::string art;
    std::string wirkung;
    std::string comment;
    std::string ziel_name;
    int32_t ziel_x = -1;  // -1 = every column
    int32_t ziel_y = -1;  // -1 = every row
};

}  // namespace grotmere
