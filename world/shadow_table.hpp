// Lights of middle reach, shone by shadows instead of walks. The line from a cell to a light
// visits the same cells, relative to the light, wherever the light stands; so for each cell b of
// the square around a light, the cells whose lines pass b are worked out once. A blocking cell
// darkens exactly those, and a light lights the cells within reach that no blocking cell
// darkens: the walk's answer, for a few word operations per wall in reach.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace grotmere {

// Reaches from kMaskedReach + 1 to this are shone with tables; the table of reach 64 takes about
// 3 MB. Beyond it each line is walked.
inline constexpr int32_t kTabledReach = 64;

class ShadowTable {
public:
    // The table of `reach` (1 to kTabledReach), made the first time it is asked for.
    static const ShadowTable& of_reach(int32_t reach);

    // Calls lit(di, dj) for every cell within reach of a light at (x, y) whose line to the light
    // is clear, column by column, each column from the top. Only the cells of the columns
    // first_i..last_i and rows first_j..last_j, which lie in the map, can be lit.
    template <class Lit>
    void for_each_lit(int32_t x, int32_t y, int32_t first_i, int32_t last_i, int32_t first_j,
                      int32_t last_j, Lit&& lit) const;

private:
    struct ShadowWord {
        uint32_t word;
        uint64_t bits;
    };

    explicit ShadowTable(int32_t reach);
    void find_lit(int32_t x, int32_t y, int32_t first_i, int32_t last_i, int32_t first_j,
                  int32_t last_j) const;

    int32_t reach_, side_;
    size_t words_;
    // The square's cells column by column, (di, dj) at bit (di + reach) * side + dj + reach.
    std::vector<uint64_t> within_;
    // The cells a blocking cell b darkens: shadows_[first_shadow_[b]] up to the next cell's first.
    std::vector<uint32_t> first_shadow_;
    std::vector<ShadowWord> shadows_;
    // A light's blocking and lit cells, kept for their storage between lights.
    mutable std::vector<uint64_t> blocking_, lit_;
};

template <class Lit>
void ShadowTable::for_each_lit(int32_t x, int32_t y, int32_t first_i, int32_t last_i,
                               int32_t first_j, int32_t last_j, Lit&& lit) const {
    find_lit(x, y, first_i, last_i, first_j, last_j);
    for (size_t word = 0; word < words_; ++word) {
        for (uint64_t bits = lit_[word]; bits != 0; bits &= bits - 1) {
            const auto cell = static_cast<int32_t>(word * 64) + __builtin_ctzll(bits);
            lit(cell / side_ - reach_, cell % side_ - reach_);
        }
    }
}

}  // namespace grotmere
