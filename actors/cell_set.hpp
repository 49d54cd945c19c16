// A snapshot of the cells that the records of one list stand on. The monsters' turn asks for each
// monster whether a treasure heap lies under it, and the missile pass asks for each missile
// whether a monster stands on its tile; with a thousand records, walking the whole list for every
// question would cost milliseconds. The snapshot answers "nobody here" at once, and only a "yes"
// walks the list, in its order, as the rules say. A snapshot stays right while records only leave
// the list or stand still, which is all that happens to them during those passes.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "records/record_list.hpp"
#include "world/tile_grid.hpp"

namespace grotmere {

class CellSet {
public:
    // Takes the cells (the fields x and y) of the records of type T in the list, forgetting the
    // earlier ones but keeping the storage, so a warm set allocates nothing. Cells of the grid
    // are kept as bits, any others (a position from a data file) in a sorted list.
    template <class T>
    void collect(RecordList& list) {
        for (const uint32_t cell : in_grid_)
            bits_[cell / 64] &= ~(uint64_t{1} << (cell % 64));
        in_grid_.clear();
        outside_.clear();
        list.look_at_each<T>([&](const T& record) {
            if (!TileGrid::in_grid(record.x, record.y)) {
                outside_.push_back(key(record.x, record.y));
                return;
            }
            const uint32_t cell = cell_number(record.x, record.y);
            bits_[cell / 64] |= uint64_t{1} << (cell % 64);
            in_grid_.push_back(cell);
        });
        std::sort(outside_.begin(), outside_.end());
    }

    bool contains(int32_t x, int32_t y) const {
        if (TileGrid::in_grid(x, y)) {
            const uint32_t cell = cell_number(x, y);
            return (bits_[cell / 64] >> (cell % 64) & 1) != 0;
        }
        return std::binary_search(outside_.begin(), outside_.end(), key(x, y));
    }

private:
    static uint32_t cell_number(int32_t x, int32_t y) {
        return static_cast<uint32_t>(x) * kGridSize + static_cast<uint32_t>(y);
    }
    static int64_t key(int32_t x, int32_t y) {
        return static_cast<int64_t>((static_cast<uint64_t>(static_cast<uint32_t>(x)) << 32) |
                                    static_cast<uint32_t>(y));
    }

    std::array<uint64_t, static_cast<size_t>(kGridSize) * kGridSize / 64> bits_{};
    std::vector<uint32_t> in_grid_;
    std::vector<int64_t> outside_;
};

}  // namespace grotmere
