// A light costs a turn's pass about one step for every cell within its reach, about pi r^2 of
// them. Up to reach 64 the steps are table look-ups; beyond it every cell walks its line to the
// light, some 25 ns a cell, and a single light of reach 65 already takes about a third of a
// millisecond of every turn.
#include <algorithm>
#include <cmath>

#include "check/content_check_parts.hpp"
#include "world/shadow_table.hpp"

namespace grotmere {

std::string light_reach_cost(const Record& light) {
    const int32_t reach = int_of(light, "reichweite");
    if (reach <= kTabledReach) return {};
    // A light lights only the map, at most 256 x 256 cells.
    const double cells = std::min(3.14159 * reach * reach, 65536.0);
    return "the light " + quoted(text_of(light, "name")) + " has reach " + int_to_text(reach) +
           ": above " + int_to_text(kTabledReach) +
           " every cell in reach walks its line to the light, about " +
           int_to_text(static_cast<int32_t>(std::lround(cells * 0.025))) + " us of every turn";
}

}  // namespace grotmere
