// The one way to change a tile's sight, light, terrain or walkability. Each function here tells
// the tracker (world/tile_tracking.hpp) what it changed, so the walks that visit only the tiles
// the tracker names never miss one. The rules write tiles only through these; code outside the
// rules (a test, a tool) writes through write_tile.
#pragma once

#include <cstdint>

#include "world/karten_tile.hpp"
#include "world/sight_masks.hpp"
#include "world/world_state.hpp"

namespace grotmere {

// What a light adds to a cell, one share for each of the cell's four light values.
struct LightShares {
    float lichtstaerke = 0, lichtr = 0, lichtg = 0, lichtb = 0;
};

// (x, y) lies in the line of sight: it is seen now and known from now on.
void see_tile(int32_t x, int32_t y);
// The cells of the square around (x, y) set in `seen`; `tiles` holds the square's tiles at their
// SquareMask::bit, as blocking_around gives them.
void see_square(int32_t x, int32_t y, TKartenTile* const* tiles, const SquareMask& seen);
// The player always sees the tile it stands on, even one that blocks the line of sight.
void see_own_tile(int32_t x, int32_t y);

// A light's shares added to the tile at (x, y): each value is raised, capped at 100 and cut
// toward zero.
void light_tile(int32_t x, int32_t y, const LightShares& shares);
// The same for the cells of the square around (x, y) set in `lit`, each with shares_of(bit).
template <class SharesOf>
void light_square(int32_t x, int32_t y, TKartenTile* const* tiles, const SquareMask& lit,
                  SharesOf&& shares_of);

// The darkening of a turn: sight and light values back to 0. Only the darkening, which asks the
// tracker which tiles to visit, calls it.
inline void darken_tile(TKartenTile& tile) {
    tile.sichtbar = 0;
    tile.lichtstaerke = 0;
    tile.lichtr = 0;
    tile.lichtg = 0;
    tile.lichtb = 0;
}

// A tile's terrain. Rock is unwalkable at once; the walkability of anything else follows at the
// next walkability update, which then walks the whole map.
void set_terrain(TKartenTile& tile, int32_t id);
// A tile that holds doors or furniture: the walkability they give it. The walkability update
// visits such tiles on every pass, so the tracker needs no word.
inline void set_blocked_walkability(TKartenTile& tile, int32_t begehbar) {
    tile.begehbar = begehbar;
}

// For code outside the rules: `write_tile(x, y)->sichtbar = 1;`. When the statement ends, the
// world is told that it changed outside the passes (the tracker walks the whole map again and the
// next frame is looked at). Null off the grid.
class TileWrite {
public:
    explicit TileWrite(TKartenTile* tile) : tile_(tile) {}
    TileWrite(const TileWrite&) = delete;
    TileWrite& operator=(const TileWrite&) = delete;
    ~TileWrite() { world_changed_outside_passes(); }
    TKartenTile* operator->() const { return tile_; }
    TKartenTile& operator*() const { return *tile_; }

private:
    TKartenTile* tile_;
};

inline TileWrite write_tile(int32_t x, int32_t y) {
    return TileWrite(tile_grid.at(x, y));
}

// --- implementation ----------------------------------------------------------------------------

void add_light(TKartenTile& tile, const LightShares& shares);

template <class SharesOf>
void light_square(int32_t x, int32_t y, TKartenTile* const* tiles, const SquareMask& lit,
                  SharesOf&& shares_of) {
    for_each_cell_of(lit, [&](int32_t n) { add_light(*tiles[n], shares_of(n)); });
    tile_tracking.lit_columns(x - kMaskedReach, y - kMaskedReach, kMaskSide,
                              [&lit](int32_t c) { return lit.column(c); });
}

}  // namespace grotmere
