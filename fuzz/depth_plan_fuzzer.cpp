// Feeds arbitrary bytes to the reader of a map file's depth lines: whatever the text, it returns a
// plan whose depths are numbered 1 to N in order with sane rectangles, or an empty one, and asking
// any tile's depth answers within 0 to N.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "gen/depth_plan.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const grotmere::gen::DepthPlan plan = grotmere::gen::read_depth_plan(text);
    for (const grotmere::gen::Box& area : plan.areas)
        if (area.x0 > area.x1 || area.y0 > area.y1) std::abort();
    for (int32_t y = -1; y <= 3; ++y)
        for (int32_t x = -1; x <= 3; ++x) {
            const int32_t depth = plan.depth_of(x, y);
            if (depth < 0 || depth > int32_t(plan.count())) std::abort();
        }
    return 0;
}
