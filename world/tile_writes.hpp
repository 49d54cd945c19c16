// The one way to change a tile's sight, light, terrain or walkability. Each function here tells
// the tracker (world/tile_tracking.hpp) what it changed, so the walks that visit only the tiles
// the tracker names never miss one. The rules write tiles only through these; code outside the
// rules (a test, a tool) writes through write_tile.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
// The cells of the square around (x, y) set in `seen`, each of which has a tile.
void see_square(int32_t x, int32_t y, const SquareMask& seen);
// The player always sees the tile it stands on, even one that blocks the line of sight.
void see_own_tile(int32_t x, int32_t y);

// A light's shares added to the tile at (x, y): each value is raised, capped at 100 and cut
// toward zero.
void light_tile(int32_t x, int32_t y, const LightShares& shares);
// The same for the cells of the square around (x, y) set in `lit`, each of which has a tile, each
// with shares_of(bit).
template <class SharesOf>
void light_square(int32_t x, int32_t y, const SquareMask& lit, SharesOf&& shares_of);

// The darkening of a turn: sight and light values back to 0. Only the darkening, which asks the
// tracker which tiles to visit, calls these.
inline void darken_sight_of(TKartenTile& tile) {
    tile.sichtbar = 0;
}
inline void darken_light_of(TKartenTile& tile) {
    tile.lichtstaerke = 0;
    tile.lichtr = 0;
    tile.lichtg = 0;
    tile.lichtb = 0;
}
inline void darken_tile(TKartenTile& tile) {
    darken_sight_of(tile);
    darken_light_of(tile);
}

// The tracker's reset of a marked cell (x, y) for a darkening that calls reset(tile): false for a
// cell outside the map rectangle, which is not darkened and stays marked.
template <class Reset>
auto reset_marked_cell(Reset reset) {
    return [reset, columns = map_width, rows = map_height](int32_t x, int32_t y) {
        if (x >= columns || y >= rows) return false;
        // A marked cell lies in the grid, so only the map's far edges need a test.
        if (TKartenTile* tile = tile_grid.at(x, y)) reset(*tile);
        return true;
    };
}

// The end of the light pass after TKarte::darken_sight: the cells no light reached are dark.
void finish_light_darkening();

// A tile's terrain. Rock is unwalkable at once; the walkability of anything else follows at the
// next walkability update, which then walks the whole map.
void set_terrain(TKartenTile& tile, int32_t id);
// A tile at `cell` that holds doors or furniture: the walkability they give it. The walkability
// update visits such tiles on every pass, so the tracker's marks need no word; its walls do.
inline void set_blocked_walkability(TKartenTile& tile, MapCell cell, int32_t begehbar) {
    tile.begehbar = begehbar;
    tile_tracking.wall_changed(cell.x, cell.y, tile);
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

// Each value on its own, as add_light does all four at once: lichtstaerke, lichtr, lichtg and
// lichtb side by side from `values` on.
void add_light_each(int32_t* values, const LightShares& shares);

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
// The four light values lie side by side in the tile and in the shares, in the same order, so
// they are read, raised and written as one.
static_assert(offsetof(TKartenTile, lichtr) == offsetof(TKartenTile, lichtstaerke) + 4 &&
              offsetof(TKartenTile, lichtg) == offsetof(TKartenTile, lichtstaerke) + 8 &&
              offsetof(TKartenTile, lichtb) == offsetof(TKartenTile, lichtstaerke) + 12);
#pragma GCC diagnostic pop
static_assert(offsetof(LightShares, lichtb) == 12 && sizeof(LightShares) == 16);

inline void add_light_values(int32_t* values, const LightShares& shares) {
#if defined(__SSE2__)
    // Lane by lane as add_light_each does it: converted, added, capped at 100 and truncated; a
    // sum far below the 32-bit range converts to the lowest integer, which is its answer too.
    auto* lanes = reinterpret_cast<__m128i*>(values);
    const __m128 added =
        _mm_add_ps(_mm_cvtepi32_ps(_mm_loadu_si128(lanes)), _mm_loadu_ps(&shares.lichtstaerke));
    _mm_storeu_si128(lanes, _mm_cvttps_epi32(_mm_min_ps(added, _mm_set1_ps(100.0F))));
#else
    add_light_each(values, shares);
#endif
}

inline void add_light(TKartenTile& tile, const LightShares& shares) {
    add_light_values(&tile.lichtstaerke, shares);
}

template <class SharesOf>
void light_square(int32_t x, int32_t y, const SquareMask& lit, SharesOf&& shares_of) {
    const int32_t first_x = x - kMaskedReach, first_y = y - kMaskedReach;
    for (int32_t c = 0; c < kMaskSide; ++c) {
        const uint64_t rows = lit.column(c);
        if (rows == 0) continue;
        const int32_t first_row = __builtin_ctzll(rows);
        // A column's tiles follow each other in the grid.
        TKartenTile* column = tile_grid.at(first_x + c, first_y + first_row);
        for (uint64_t waiting = tile_tracking.light_column(first_x + c, first_y, rows);
             waiting != 0; waiting &= waiting - 1)
            darken_light_of(column[__builtin_ctzll(waiting) - first_row]);
        for (uint64_t left = rows; left != 0; left &= left - 1) {
            const int32_t row = __builtin_ctzll(left);
            add_light(column[row - first_row], shares_of(c * kMaskSide + row));
        }
    }
}

}  // namespace grotmere
