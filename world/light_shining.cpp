#include "world/light_shining.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "world/karten_tile.hpp"
#include "world/leuchte.hpp"
#include "world/light_distance.hpp"
#include "world/line_walk.hpp"
#include "world/shadow_table.hpp"
#include "world/sight_masks.hpp"
#include "world/tile_writes.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

// What a light adds to a cell at distance d, one share for each of the cell's four light
// values, divided in single precision like the distance.
LightShares shares_at(const TLeuchte& light, float d) {
    return {.lichtstaerke = static_cast<float>(light.leuchtkraft) / d,
            .lichtr = static_cast<float>(light.r) / d,
            .lichtg = static_cast<float>(light.g) / d,
            .lichtb = static_cast<float>(light.b) / d};
}

bool blocks_at(int32_t x, int32_t y) {
    const TKartenTile* tile = tile_grid.at(x, y);
    return tile == nullptr || blocks_sight(*tile);
}

// The square of cells a light at (x, y) may reach, cut to the map. Cells outside the map get no
// light, and cutting first keeps a huge reach from a data file from walking billions of cells.
// The bounds are worked out in 64 bits and cut before they become 32-bit again, so a reach far
// below 0 (which lights nothing) cannot wrap into a square somewhere else.
struct LitSquare {
    int32_t first_i, last_i, first_j, last_j;

    LitSquare(int32_t x, int32_t y, int32_t reach)
        : first_i(first(int64_t{x} - reach, columns())),
          last_i(last(int64_t{x} + reach, columns())),
          first_j(first(int64_t{y} - reach, rows())),
          last_j(last(int64_t{y} + reach, rows())) {
        if (reach < 0) last_i = first_i - 1;
    }

    static int32_t columns() { return std::clamp(map_width, 0, kGridSize); }
    static int32_t rows() { return std::clamp(map_height, 0, kGridSize); }

private:
    // A first cell beyond the map, or a last one before it, leaves the square empty.
    static int32_t first(int64_t value, int32_t size) {
        return static_cast<int32_t>(std::clamp<int64_t>(value, 0, size));
    }
    static int32_t last(int64_t value, int32_t size) {
        return static_cast<int32_t>(std::clamp<int64_t>(value, -1, size - 1));
    }
};

// The blocking cells of a light's square, read from the tiles once: as a flag per cell for the
// walks, and as counts over every rectangle from the square's corner, so that whether a
// rectangle holds a blocking cell at all is four look-ups. A line never leaves the rectangle
// spanned by its two ends, so a line whose rectangle holds no blocking cell is clear without a
// walk: in open country a light of any reach then costs about one step per cell.
class SquareBlockers {
public:
    explicit SquareBlockers(const LitSquare& square)
        : first_i_(square.first_i),
          first_j_(square.first_j),
          width_(square.last_i - square.first_i + 1),
          height_(square.last_j - square.first_j + 1) {
        blocks_.resize(static_cast<size_t>(width_) * height_);
        counts_.assign(static_cast<size_t>(width_ + 1) * (height_ + 1), 0);
        for (int32_t a = 0; a < width_; ++a) {
            for (int32_t b = 0; b < height_; ++b) {
                const bool blocks = blocks_at(first_i_ + a, first_j_ + b);
                blocks_[index(a, b)] = blocks ? 1 : 0;
                count(a + 1, b + 1) =
                    (blocks ? 1 : 0) + count(a, b + 1) + count(a + 1, b) - count(a, b);
            }
        }
    }

    bool clear(int32_t i, int32_t j, int32_t x, int32_t y) const {
        const int32_t a0 = std::min(i, x) - first_i_, a1 = std::max(i, x) - first_i_ + 1;
        const int32_t b0 = std::min(j, y) - first_j_, b1 = std::max(j, y) - first_j_ + 1;
        if (count(a1, b1) - count(a0, b1) - count(a1, b0) + count(a0, b0) == 0) return true;
        return clear_line(i, j, x, y, [this](int32_t ci, int32_t cj) {
            return blocks_[index(ci - first_i_, cj - first_j_)] != 0;
        });
    }

private:
    size_t index(int32_t a, int32_t b) const { return static_cast<size_t>(a) * height_ + b; }
    int32_t& count(int32_t a, int32_t b) {
        return counts_[static_cast<size_t>(a) * (height_ + 1) + b];
    }
    int32_t count(int32_t a, int32_t b) const {
        return counts_[static_cast<size_t>(a) * (height_ + 1) + b];
    }

    int32_t first_i_, first_j_, width_, height_;
    std::vector<uint8_t> blocks_;
    std::vector<int32_t> counts_;
};

// Any reach: every cell in reach is tested along its line to the light.
void shine_walking(const TLeuchte& light, int32_t x, int32_t y) {
    const LitSquare square(x, y, light.reichweite);
    if (square.first_i > square.last_i || square.first_j > square.last_j) return;
    const SquareBlockers blockers(square);
    const auto reach = static_cast<float>(light.reichweite);
    const Distances& light_distance = Distances::table();
    for (int32_t i = square.first_i; i <= square.last_i; ++i) {
        for (int32_t j = square.first_j; j <= square.last_j; ++j) {
            const float d = light_distance(i - x, j - y);
            if (d > reach || !blockers.clear(i, j, x, y)) continue;
            light_tile(i, j, shares_at(light, d));
        }
    }
}

// Lights of small reach, the usual kind, are shone with masks instead of walks
// (world/sight_masks.hpp).

// The cells a light of small reach lights at most, and the shares of each. Cells at the same
// distance get the same shares, and lights made from one prototype shine alike, so the tables of
// the last few kinds of light are kept and used again for the lights that have their values: a
// turn's lights are of a few kinds, and the player's own torch comes between them.
class ShareTable {
public:
    static const ShareTable& for_light(const TLeuchte& light) {
        // Safe across worlds and tests: a table is used only for a light with every value it was
        // made from.
        static std::array<ShareTable, 8> kept;
        static size_t next = 0;
        for (const ShareTable& table : kept) {
            if (table.made_for(light)) return table;
        }
        ShareTable& oldest = kept[next];
        next = (next + 1) % kept.size();
        oldest.make(light);
        return oldest;
    }
    // The cells of the square within reach, by the distance test of every light.
    const SquareMask& within() const { return within_; }
    // The shares of the cell with this SquareMask::bit.
    const LightShares& at(int32_t bit) const { return shares_[static_cast<size_t>(bit)]; }

private:
    bool made_for(const TLeuchte& light) const {
        return valid_ && light.leuchtkraft == leuchtkraft_ && light.r == r_ && light.g == g_ &&
               light.b == b_ && light.reichweite == reach_;
    }
    void make(const TLeuchte& light) {
        const Distances& light_distance = Distances::table();
        const auto reach = static_cast<float>(light.reichweite);
        within_ = {};
        for (int32_t di = -kMaskedReach; di <= kMaskedReach; ++di) {
            for (int32_t dj = -kMaskedReach; dj <= kMaskedReach; ++dj) {
                const float d = light_distance(di, dj);
                if (d > reach) continue;
                within_.set(di, dj);
                shares_[static_cast<size_t>(SquareMask::bit(di, dj))] = shares_at(light, d);
            }
        }
        valid_ = true;
        leuchtkraft_ = light.leuchtkraft;
        r_ = light.r;
        g_ = light.g;
        b_ = light.b;
        reach_ = light.reichweite;
    }

    SquareMask within_;
    LightShares shares_[kMaskSide * kMaskSide];
    bool valid_ = false;
    int32_t leuchtkraft_ = 0, r_ = 0, g_ = 0, b_ = 0, reach_ = 0;
};

// Lights of small reach, the usual kind, are shone with masks instead of walks
// (world/sight_masks.hpp). Each cell a light lights gets its share once, so the order of the
// cells of one light changes nothing; the lights keep theirs.
SquareMask lit_cells(int32_t x, int32_t y, int32_t reach, const SquareMask& within) {
    // Asked first, so that walls read anew have their new version.
    const SightWalls& walls = tile_tracking.sight_walls();
    const LitCellsKey key{walls.version(), x, y, reach, map_width, map_height};
    const LitCellsCache::Cells* kept = lit_cells_cache.find(key);
    if (kept != nullptr && !contracts_checked()) return {kept->low, kept->high};
    const LitSquare square(x, y, reach);
    // Only the cells of the square can be lit: a cell beyond the map's edge blocks, and its own
    // line starts on it.
    const SquareMask blocking =
        blocking_around(square.first_i, square.last_i, square.first_j, square.last_j, x, y);
    const SquareMask lit = clear_cells(within, blocking);
    if (kept != nullptr && (kept->low != lit.low || kept->high != lit.high))
        throw std::logic_error("the cells kept for the light at (" + std::to_string(x) + "|" +
                               std::to_string(y) + ") are not the cells it lights");
    lit_cells_cache.keep(key, {lit.low, lit.high});
    return lit;
}

void shine_masked(const TLeuchte& light, int32_t x, int32_t y) {
    const ShareTable& shares = ShareTable::for_light(light);
    light_square(x, y, lit_cells(x, y, light.reichweite, shares.within()),
                 [&shares](int32_t n) { return shares.at(n); });
}

// Lights of middle reach darken what the walls in reach shadow (world/shadow_table.hpp).
void shine_tabled(const TLeuchte& light, int32_t x, int32_t y) {
    const LitSquare square(x, y, light.reichweite);
    if (square.first_i > square.last_i || square.first_j > square.last_j) return;
    const Distances& light_distance = Distances::table();
    ShadowTable::of_reach(light.reichweite)
        .for_each_lit(x, y, square.first_i, square.last_i, square.first_j, square.last_j,
                      [&](int32_t di, int32_t dj) {
                          light_tile(x + di, y + dj, shares_at(light, light_distance(di, dj)));
                      });
}

}  // namespace

// Every line ends on the light's own cell, so a light outside the map lights nothing; a light
// of negative reach lights nothing either.
void shine_light(const TLeuchte& light, int32_t x, int32_t y) {
    if (!inside_map(x, y) || tile_grid.at(x, y) == nullptr || light.reichweite < 0) return;
    if (light.reichweite <= kMaskedReach) return shine_masked(light, x, y);
    if (light.reichweite <= kTabledReach) return shine_tabled(light, x, y);
    shine_walking(light, x, y);
}

}  // namespace grotmere
