#include "world/tile_writes.hpp"

#include <algorithm>
#include <limits>

#include "world/karte.hpp"

namespace grotmere {

namespace {

constexpr int32_t kBrightest = 100;

// A light value after a share has been added: truncated toward zero and capped at 100. The cap
// is taken before the truncation, which gives the same value and keeps the conversion in range;
// below the 32-bit range (a huge negative light from a data file) the value stops at its end.
int32_t brighten(int32_t value, float share) {
    constexpr float kLowest = -2147483648.0F;
    const float sum = std::min(static_cast<float>(value) + share, static_cast<float>(kBrightest));
    return sum <= kLowest ? std::numeric_limits<int32_t>::min() : static_cast<int32_t>(sum);
}

}  // namespace

void see_tile(int32_t x, int32_t y) {
    TKartenTile* tile = map_tile(x, y);
    if (tile == nullptr) return;
    tile->erfasst = 1;
    tile->sichtbar = 1;
    tile_tracking.seen(x, y);
}

void see_square(int32_t x, int32_t y, const SquareMask& seen) {
    for_each_tile_of(x, y, seen, [](TKartenTile& tile, int32_t) {
        tile.erfasst = 1;
        tile.sichtbar = 1;
    });
    tile_tracking.seen_columns(x - kMaskedReach, y - kMaskedReach, kMaskSide,
                               [&seen](int32_t c) { return seen.column(c); });
}

void see_own_tile(int32_t x, int32_t y) {
    if (TKartenTile* own = map_tile(x, y)) {
        own->sichtbar = 1;
        tile_tracking.seen(x, y);
    }
}

void add_light_each(int32_t* values, const LightShares& shares) {
    values[0] = brighten(values[0], shares.lichtstaerke);
    values[1] = brighten(values[1], shares.lichtr);
    values[2] = brighten(values[2], shares.lichtg);
    values[3] = brighten(values[3], shares.lichtb);
}

void light_tile(int32_t x, int32_t y, const LightShares& shares) {
    TKartenTile* tile = tile_grid.at(x, y);
    if (tile == nullptr) return;
    if (tile_tracking.light_cell(x, y)) darken_light_of(*tile);
    add_light(*tile, shares);
}

void finish_light_darkening() {
    tile_tracking.finish_light_darkening(
        reset_marked_cell([](TKartenTile& tile) { darken_light_of(tile); }));
}

void set_terrain(TKartenTile& tile, int32_t id) {
    tile.ID = id;
    if (id == TKarte::MAP_SOLID) tile.begehbar = 0;
    tile_tracking.everything_changed();
}

}  // namespace grotmere
