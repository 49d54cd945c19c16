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
LightShares shares_at(const LightShine& light, float d) {
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

    explicit LitSquare(const LightShine& light)
        : first_i(first(int64_t{light.x} - light.reach, columns(light))),
          last_i(last(int64_t{light.x} + light.reach, columns(light))),
          first_j(first(int64_t{light.y} - light.reach, rows(light))),
          last_j(last(int64_t{light.y} + light.reach, rows(light))) {
        if (light.reach < 0) last_i = first_i - 1;
    }

    bool empty() const { return first_i > last_i || first_j > last_j; }
    static int32_t columns(const LightShine& light) {
        return std::clamp(light.width, 0, kGridSize);
    }
    static int32_t rows(const LightShine& light) { return std::clamp(light.height, 0, kGridSize); }

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

// Any reach: every cell in reach is tested along its line to the light, and lit(i, j, shares)
// called for each it lights.
template <class Lit>
void shine_walking(const LightShine& light, Lit&& lit) {
    const LitSquare square(light);
    if (square.empty()) return;
    const SquareBlockers blockers(square);
    const auto reach = static_cast<float>(light.reach);
    const Distances& light_distance = Distances::table();
    for (int32_t i = square.first_i; i <= square.last_i; ++i) {
        for (int32_t j = square.first_j; j <= square.last_j; ++j) {
            const float d = light_distance(i - light.x, j - light.y);
            if (d > reach || !blockers.clear(i, j, light.x, light.y)) continue;
            lit(i, j, shares_at(light, d));
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
    static const ShareTable& for_light(const LightShine& light) {
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
    bool made_for(const LightShine& light) const {
        return valid_ && light.leuchtkraft == leuchtkraft_ && light.r == r_ && light.g == g_ &&
               light.b == b_ && light.reach == reach_;
    }
    void make(const LightShine& light) {
        const Distances& light_distance = Distances::table();
        const auto reach = static_cast<float>(light.reach);
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
        reach_ = light.reach;
    }

    SquareMask within_;
    LightShares shares_[kMaskSide * kMaskSide];
    bool valid_ = false;
    int32_t leuchtkraft_ = 0, r_ = 0, g_ = 0, b_ = 0, reach_ = 0;
};

// Lights of small reach, the usual kind, are shone with masks instead of walks
// (world/sight_masks.hpp). Each cell a light lights gets its share once, so the order of the
// cells of one light changes nothing; the lights keep theirs.
SquareMask lit_cells(const LightShine& light, const SquareMask& within) {
    const LitCellsKey key{light.walls_version, light.x,     light.y,
                          light.reach,         light.width, light.height};
    const LitCellsCache::Cells* kept = lit_cells_cache.find(key);
    if (kept != nullptr && !contracts_checked()) return {kept->low, kept->high};
    const LitSquare square(light);
    // Only the cells of the square can be lit: a cell beyond the map's edge blocks, and its own
    // line starts on it.
    const SquareMask blocking = blocking_around(square.first_i, square.last_i, square.first_j,
                                                square.last_j, light.x, light.y);
    const SquareMask lit = clear_cells(within, blocking);
    if (kept != nullptr && (kept->low != lit.low || kept->high != lit.high))
        throw std::logic_error("the cells kept for the light at (" + std::to_string(light.x) + "|" +
                               std::to_string(light.y) + ") are not the cells it lights");
    lit_cells_cache.keep(key, {lit.low, lit.high});
    return lit;
}

bool lights_anything(const LightShine& light) {
    return light.reach >= 0 && light.x >= 0 && light.y >= 0 && light.x < light.width &&
           light.y < light.height && tile_grid.at(light.x, light.y) != nullptr;
}

bool masked(const LightShine& light) {
    return light.reach <= kMaskedReach;
}

void learn_lit_cells(LightShine& light) {
    if (light.lit_known) return;
    light.lit = lit_cells(light, ShareTable::for_light(light).within());
    light.lit_known = true;
}

// The cells of the square around (x, y) that lie in one of `rects`.
SquareMask square_cells_within(int32_t x, int32_t y, std::span<const CellRect> rects) {
    unsigned __int128 cells = 0;
    for (const CellRect& rect : rects) {
        const int32_t first_c = std::max(rect.first_x - (x - kMaskedReach), 0);
        const int32_t last_c = std::min(rect.last_x - (x - kMaskedReach), kMaskSide - 1);
        const int32_t first_r = std::max(rect.first_y - (y - kMaskedReach), 0);
        const int32_t last_r = std::min(rect.last_y - (y - kMaskedReach), kMaskSide - 1);
        if (first_c > last_c || first_r > last_r) continue;
        const auto rows = static_cast<unsigned __int128>(((uint64_t{1} << (last_r + 1)) - 1) &
                                                         ~((uint64_t{1} << first_r) - 1));
        for (int32_t c = first_c; c <= last_c; ++c)
            cells |= rows << (c * kMaskSide);
    }
    return SquareMask{static_cast<uint64_t>(cells), static_cast<uint64_t>(cells >> 64)};
}

// Lights of middle reach darken what the walls in reach shadow (world/shadow_table.hpp); lit(i,
// j, shares) is called for each cell lit.
template <class Lit>
void shine_tabled(const LightShine& light, Lit&& lit) {
    const LitSquare square(light);
    if (square.empty()) return;
    const Distances& light_distance = Distances::table();
    ShadowTable::of_reach(light.reach)
        .for_each_lit(light.x, light.y, square.first_i, square.last_i, square.first_j,
                      square.last_j, [&](int32_t di, int32_t dj) {
                          lit(light.x + di, light.y + dj, shares_at(light, light_distance(di, dj)));
                      });
}

// Calls lit(i, j, shares) for every cell the light lights, each once.
template <class Lit>
void for_each_lit_cell(LightShine& light, Lit&& lit) {
    if (!lights_anything(light)) return;
    if (masked(light)) {
        learn_lit_cells(light);
        const ShareTable& shares = ShareTable::for_light(light);
        for_each_cell_of(light.lit, [&](int32_t n) {
            lit(light.x - kMaskedReach + n / kMaskSide, light.y - kMaskedReach + n % kMaskSide,
                shares.at(n));
        });
    } else if (light.reach <= kTabledReach) {
        shine_tabled(light, lit);
    } else {
        shine_walking(light, lit);
    }
}

// Each cell at most once, from the first light that reaches it, to the last.
void light_masked_tiles(LightShine& light, const SquareMask& cells) {
    const ShareTable& shares = ShareTable::for_light(light);
    light_square(light.x, light.y, cells, [&shares](int32_t n) { return shares.at(n); });
}

bool within_any(std::span<const CellRect> rects, int32_t x, int32_t y) {
    return std::any_of(rects.begin(), rects.end(),
                       [x, y](const CellRect& rect) { return rect.holds(x, y); });
}

}  // namespace

LightShine shine_of(const TLeuchte& light, int32_t x, int32_t y) {
    LightShine shine;
    shine.x = x;
    shine.y = y;
    shine.leuchtkraft = light.leuchtkraft;
    shine.r = light.r;
    shine.g = light.g;
    shine.b = light.b;
    shine.reach = light.reichweite;
    shine.width = map_width;
    shine.height = map_height;
    // Asked first, so that walls read anew have their new version.
    shine.walls_version = tile_tracking.sight_walls().version();
    return shine;
}

CellRect reach_of(const LightShine& shine) {
    if (!lights_anything(shine)) return {};
    const LitSquare square(shine);
    return {square.first_i, square.last_i, square.first_j, square.last_j};
}

bool shines_alike(const LightShine& before, LightShine& now) {
    if (!before.same_values(now)) return false;
    if (!lights_anything(now)) return true;
    if (before.walls_version == now.walls_version) {
        now.lit = before.lit;
        now.lit_known = before.lit_known;
        return true;
    }
    if (!masked(now) || !before.lit_known) return false;
    learn_lit_cells(now);
    return now.lit.low == before.lit.low && now.lit.high == before.lit.high;
}

void shine_on_tiles(LightShine& shine) {
    if (!lights_anything(shine)) return;
    if (masked(shine)) {
        learn_lit_cells(shine);
        return light_masked_tiles(shine, shine.lit);
    }
    for_each_lit_cell(
        shine, [](int32_t i, int32_t j, const LightShares& shares) { light_tile(i, j, shares); });
}

void shine_on_tiles_within(LightShine& shine, std::span<const CellRect> only) {
    if (!lights_anything(shine)) return;
    if (masked(shine)) {
        learn_lit_cells(shine);
        const SquareMask within = square_cells_within(shine.x, shine.y, only);
        return light_masked_tiles(
            shine, SquareMask{shine.lit.low & within.low, shine.lit.high & within.high});
    }
    for_each_lit_cell(shine, [only](int32_t i, int32_t j, const LightShares& shares) {
        if (within_any(only, i, j)) light_tile(i, j, shares);
    });
}

void LightField::clear(int32_t width, int32_t height) {
    width_ = std::clamp(width, 0, kGridSize);
    height_ = std::clamp(height, 0, kGridSize);
    values_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_), {});
}

void shine_into(LightShine& shine, LightField& field) {
    for_each_lit_cell(shine, [&field](int32_t i, int32_t j, const LightShares& shares) {
        if (i < field.width() && j < field.height()) add_light_values(field.at(i, j), shares);
    });
}

}  // namespace grotmere
