// TSchalter, a switch: a "trigger" fires when stepped on, a "button" when used; its wirkung text
// changes a named field of the items called ziel_name around (ziel_x, ziel_y). An "exit" ends the
// game as a victory when the player stands on it at the end of a turn (escape_text).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "records/record.hpp"

namespace grotmere {

// Who works the switches in a pass: where the player stands and whether it pressed the use key.
struct SwitchUser {
    int32_t x = 0;
    int32_t y = 0;
    int32_t usemode = 0;
};

// A switch's wirkung as it is read once, for the rule that carries it out and for the content
// check that inspects it: tokens separated by "|", read left to right. The mode starts as TOGGLE
// and holds until the next mode word (upper case exactly); every other non-empty token names a
// field, switched in the mode then in force.
enum class SwitchMode { Toggle, Activate, Deactivate };

struct SwitchStep {
    SwitchMode mode;
    std::string field;
};

std::vector<SwitchStep> read_switch_text(const std::string& wirkung);

class TGegenstand;
class TSchalter;

// The item a switch acts on: every item named ziel_name in the searched cells matches, column by
// column, each column from the top, each tile's list in order; the last match wins. Null when
// nothing matches.
std::shared_ptr<TGegenstand> switch_target(const TSchalter& schalter);

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
