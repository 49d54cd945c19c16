// The 11 x 11 square of cells around a viewer or a light as a mask of 121 bits, column by
// column, each column from the top: the sight test and the light pass read and write whole
// columns of it at a time.
#pragma once

#include <cstdint>

namespace grotmere {

inline constexpr int32_t kMaskedReach = 5;
inline constexpr int32_t kMaskSide = 2 * kMaskedReach + 1;

struct SquareMask {
    uint64_t low = 0, high = 0;  // cells 0-63 and 64-120 of the square, column by column

    static int32_t bit(int32_t di, int32_t dj) {
        return (di + kMaskedReach) * kMaskSide + (dj + kMaskedReach);
    }
    void set(int32_t di, int32_t dj) { set_bit(bit(di, dj)); }
    void set_bit(int32_t n) { (n < 64 ? low : high) |= uint64_t{1} << (n % 64); }
    // The bits of column c (0 to 10, left to right) of the square, its top row at bit 0.
    uint64_t column(int32_t c) const {
        const auto all = static_cast<unsigned __int128>(high) << 64 | low;
        return static_cast<uint64_t>(all >> (c * kMaskSide)) & ((uint64_t{1} << kMaskSide) - 1);
    }
    bool meets(const SquareMask& other) const {
        return ((low & other.low) | (high & other.high)) != 0;
    }
};

// Calls visit(n) for every cell n of the mask, in the order of its bits.
template <class Visit>
void for_each_cell_of(const SquareMask& mask, Visit&& visit) {
    for (uint64_t bits = mask.low; bits != 0; bits &= bits - 1)
        visit(__builtin_ctzll(bits));
    for (uint64_t bits = mask.high; bits != 0; bits &= bits - 1)
        visit(64 + __builtin_ctzll(bits));
}

}  // namespace grotmere
