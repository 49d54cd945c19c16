#include <vector>

#include "world/karten_tile.hpp"
#include "world/leuchte.hpp"
#include "world/light_shining.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

// The lights lying on tiles shine in the order a scan of the map would find them, column by
// column, each column from the top, each tile's list in order; only the tiles holding lights
// are visited. Shining changes no tile's list. Burnt-out lights stay on their tiles.
void shine_lights_on_tiles() {
    const std::vector<MapCell>& cells = tile_tracking.cells_with_lights();
    for (size_t k = 0; k < cells.size(); ++k) {
        const MapCell cell = cells[k];
        const TKartenTile* tile = tile_grid.at(cell.x, cell.y);
        RecordList* objects = tile ? tile->objects_if_any() : nullptr;
        if (objects == nullptr) continue;
        objects->for_each([&](RecordRef& record) {
            if (auto* light = dynamic_cast<TLeuchte*>(record.get()))
                light->erleuchte(cell.x, cell.y);
        });
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
        return 0;
    }
    if (brennt != 1) return 1;
    if (brenndauer >= 1) --brenndauer;
    // Below -1 a light neither shines nor burns down.
    if (brenndauer >= 1 || brenndauer == -1) shine_light(*this, x, y);
    return 1;
}

int32_t shine_lying_lights() {
    shine_lights_on_tiles();
    return 0;
}

}  // namespace grotmere
