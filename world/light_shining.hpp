// How a light shines: the cells in its reach whose line to the light is clear get its shares,
// fewer the farther they lie. Lights of small reach, the usual kind, are shone with the masks of
// world/sight_masks.hpp, others by shadow tables or by walking each line; all give the walk's
// answer. A shining is first described by the values it shines with (LightShine): two shinings
// with the same values light the same cells with the same shares, which is what the light pass
// (world/light_pass.hpp) keeps from turn to turn. The rule of when a light shines is in
// world/light.cpp.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "world/square_mask.hpp"

namespace grotmere {

class TLeuchte;

// A rectangle of cells, both ends included; empty when a first lies past its last.
struct CellRect {
    int32_t first_x = 0, last_x = -1, first_y = 0, last_y = -1;

    bool empty() const { return first_x > last_x || first_y > last_y; }
    bool meets(const CellRect& other) const {
        return !empty() && !other.empty() && first_x <= other.last_x && other.first_x <= last_x &&
               first_y <= other.last_y && other.first_y <= last_y;
    }
    bool holds(int32_t x, int32_t y) const {
        return x >= first_x && x <= last_x && y >= first_y && y <= last_y;
    }
};

// One light shining from (x, y): its values after the light made colour and intensity agree,
// and what decides its cells. A light that shone nothing this time has a reach of -1.
struct LightShine {
    int32_t x = 0, y = 0;
    int32_t leuchtkraft = 0, r = 0, g = 0, b = 0, reach = -1;
    // The map's size and the walls' version (world/sight_walls.hpp) when it shone.
    int32_t width = 0, height = 0;
    uint64_t walls_version = 0;
    // Reach up to kMaskedReach: the cells of the square around (x, y) it lights, once known.
    SquareMask lit;
    bool lit_known = false;

    // The same values: the same cells get the same shares, provided the walls are the same.
    bool same_values(const LightShine& other) const {
        return x == other.x && y == other.y && leuchtkraft == other.leuchtkraft && r == other.r &&
               g == other.g && b == other.b && reach == other.reach && width == other.width &&
               height == other.height;
    }
};

// How `light` shines from (x, y) now.
LightShine shine_of(const TLeuchte& light, int32_t x, int32_t y);
// A light that shines nothing: it keeps its place among the pass's shinings.
inline LightShine dark_shine() {
    return LightShine{};
}
// The cells the shining may light: its square cut to the map.
CellRect reach_of(const LightShine& shine);
// Whether `now` lights the same cells with the same shares as `before`, whose cells are known;
// `now` learns them when so.
bool shines_alike(const LightShine& before, LightShine& now);

// Adds the shining's shares to the tiles it lights, through the tile writes of
// world/tile_writes.hpp; with `only`, to those lying in one of its rectangles.
void shine_on_tiles(LightShine& shine);
void shine_on_tiles_within(LightShine& shine, std::span<const CellRect> only);

// The four light values of every cell of the map rectangle, worked out apart from the tiles: the
// light pass's check adds every shining of a pass to a field of zeros and compares.
class LightField {
public:
    void clear(int32_t width, int32_t height);
    int32_t* at(int32_t x, int32_t y) {
        return values_[static_cast<size_t>(x) * static_cast<size_t>(height_) +
                       static_cast<size_t>(y)]
            .data();
    }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }

private:
    std::vector<std::array<int32_t, 4>> values_;
    int32_t width_ = 0, height_ = 0;
};
void shine_into(LightShine& shine, LightField& field);

}  // namespace grotmere
