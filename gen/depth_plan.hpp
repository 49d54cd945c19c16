// The depths of a generated dungeon as its map file tells them, in comment lines that the game's
// loader passes over, one per depth after the generator's mark:
//   / Depth 2 of 5: columns 61-119, rows 1-40; shaped rooms.
// Every tile of a depth lies in its rectangle, so a tile's depth is the rectangle that holds it.
// The game can read them from the map file's text without any rule knowing of depths.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gen/dungeon.hpp"

namespace grotmere::gen {

struct DepthPlan {
    std::vector<Box> areas;  // the first depth first
    size_t count() const { return areas.size(); }
    // 1 for the first depth, 0 for a tile on none (and for every tile of a map made by hand).
    int32_t depth_of(int32_t x, int32_t y) const;
};

// The comment line of one depth (`index` from 0).
std::string depth_line(size_t index, const Dungeon& dungeon);

// The depths named by a map file's text; none (an empty plan) for a map without them, or with
// lines that do not number 1 to N in order.
DepthPlan read_depth_plan(const std::string& map_text);

}  // namespace grotmere::gen
