#include <vector>

#include "world/karten_tile.hpp"
#include "world/leuchte.hpp"
#include "world/light_pass.hpp"
#include "world/sight_masks.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

// The lights lying on tiles shine in the order a scan of the map would find them, column by
// column, each column from the top, each tile's list in order; the tracker keeps them in that
// order. Shining changes no tile's list. Burnt-out lights stay on their tiles.
void shine_lights_on_tiles() {
    const std::vector<LyingLight>& lights = tile_tracking.lying_lights();
    // Each light is a record of its own somewhere in memory, and the tiles around it lie apart
    // from those of the light before: both are asked for a few lights early.
    constexpr size_t kAhead = 4;
    const bool at_once = kept_light.shines_at_once();
    for (size_t k = 0; k < lights.size(); ++k) {
        if (k + kAhead < lights.size()) {
            const auto* ahead = reinterpret_cast<const char*>(lights[k + kAhead].light);
            __builtin_prefetch(ahead);
            __builtin_prefetch(ahead + 64);
            __builtin_prefetch(ahead + 128);
        }
        if (k + 1 < lights.size() && at_once)
            prefetch_square(lights[k + 1].cell.x, lights[k + 1].cell.y);
        lights[k].light->erleuchte(lights[k].cell.x, lights[k].cell.y);
    }
}

}  // namespace

int32_t TLeuchte::toggle(int32_t on) {
    brennt = on;
    return brennt;
}

// A light with burn time N shines on N - 1 calls: the call that uses its last unit gives no
// light, and the one after that puts it out.
int32_t TLeuchte::erleuchte(int32_t x, int32_t y) {
    // Colour and intensity are made to agree on every call, lit or not.
    if (r == 0 && g == 0 && b == 0) {
        r = leuchtkraft / 3;
        g = leuchtkraft / 3;
        b = leuchtkraft / 3;
    } else {
        leuchtkraft = (r + g + b) / 3;
    }
    if (brenndauer == 0) {
        toggle(0);
        light_stays_dark();
        return 0;
    }
    if (brennt != 1) {
        light_stays_dark();
        return 1;
    }
    if (brenndauer >= 1) --brenndauer;
    // Below -1 a light neither shines nor burns down.
    if (brenndauer >= 1 || brenndauer == -1) {
        shine_light(*this, x, y);
    } else {
        light_stays_dark();
    }
    return 1;
}

int32_t shine_lying_lights() {
    shine_lights_on_tiles();
    return 0;
}

}  // namespace grotmere
