#include "gen/depth_plan.hpp"

#include <cstdio>
#include <sstream>

namespace grotmere::gen {

int32_t DepthPlan::depth_of(int32_t x, int32_t y) const {
    for (size_t k = 0; k < areas.size(); ++k)
        if (areas[k].contains({x, y})) return int32_t(k) + 1;
    return 0;
}

std::string depth_line(size_t index, const Dungeon& dungeon) {
    const Depth& depth = dungeon.depths[index];
    return "/ Depth " + std::to_string(index + 1) + " of " + std::to_string(dungeon.depths.size()) +
           ": columns " + std::to_string(depth.area.x0) + "-" + std::to_string(depth.area.x1) +
           ", rows " + std::to_string(depth.area.y0) + "-" + std::to_string(depth.area.y1) + "; " +
           style_name(depth.style) + ".\n";
}

DepthPlan read_depth_plan(const std::string& map_text) {
    DepthPlan plan;
    std::istringstream in(map_text);
    std::string line;
    int32_t total = 0;
    while (std::getline(in, line)) {
        int32_t number = 0, of = 0;
        Box box;
        if (std::sscanf(line.c_str(), "/ Depth %d of %d: columns %d-%d, rows %d-%d", &number, &of,
                        &box.x0, &box.x1, &box.y0, &box.y1) != 6)
            continue;
        if (number != int32_t(plan.areas.size()) + 1 || (total != 0 && of != total) ||
            box.x0 > box.x1 || box.y0 > box.y1)
            return {};
        total = of;
        plan.areas.push_back(box);
    }
    if (int32_t(plan.areas.size()) != total) return {};
    return plan;
}

}  // namespace grotmere::gen
