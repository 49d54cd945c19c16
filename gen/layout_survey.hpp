// Figures of many seeds' dungeons, for authors tuning the generator (grotmere-gen --survey N):
// how much floor lies outside plain rectangles, how many loops a depth has, how many hidden
// doors a dungeon, and how different two seeds' dungeons are.
#pragma once

#include <cstdint>
#include <string>

#include "gen/dungeon.hpp"

namespace grotmere::gen {

struct LayoutSurvey {
    int32_t dungeons = 0;
    double depths = 0;                    // per dungeon
    double floor_outside_rectangles = 0;  // share of all walkable tiles not in a plain or pillared
                                          // rectangular room (corridors count as outside)
    double room_floor_shaped = 0;         // share of the rooms' floor in rooms of other shapes
    double loops_per_depth = 0;
    double hidden_doors = 0;  // per dungeon
    // Two seeds' dungeons laid over each other from the top left corner: the share of the tiles
    // walkable in either that are walkable in only one (1 - |A and B| / |A or B|), averaged over
    // the pairs of neighbouring seeds.
    double difference = 0;
    double styles_differ = 0;  // share of those pairs whose depths' styles differ somewhere
    int32_t style_count[4] = {0, 0, 0, 0};  // depths of each style
};

// The figures of the first kept dungeons of seeds 1 to `seeds`.
LayoutSurvey survey_layouts(const Palette& palette, int32_t seeds);
std::string survey_text(const LayoutSurvey& survey);

}  // namespace grotmere::gen
