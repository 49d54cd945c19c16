// The cells a light of small reach lights follow from where it lies, its reach, the map's size
// and the walls around it. Lights lying on tiles stay where they are and walls seldom change, so
// the cells worked out for a light are kept for its cell and reach and used again, turn after
// turn, while the walls are as they were. The light pass is the one place that fills it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace grotmere {

struct LitCellsKey {
    uint64_t walls_version = 0;
    int32_t x = -1, y = -1, reach = -1, width = -1, height = -1;
    friend bool operator==(const LitCellsKey&, const LitCellsKey&) = default;
};

class LitCellsCache {
public:
    // The cells of the 11 x 11 square around the light, as the light pass's masks hold them.
    struct Cells {
        uint64_t low = 0, high = 0;
    };

    // The cells kept for `key`, or null.
    const Cells* find(const LitCellsKey& key) const {
        const Entry& entry = entries_[slot(key)];
        return entry.key == key ? &entry.cells : nullptr;
    }
    void keep(const LitCellsKey& key, Cells cells) { entries_[slot(key)] = {key, cells}; }

private:
    // Enough that a thousand lights seldom share a slot.
    static constexpr size_t kEntries = 4096;
    static size_t slot(const LitCellsKey& key) {
        const uint32_t mixed = static_cast<uint32_t>(key.x) * 73856093U ^
                               static_cast<uint32_t>(key.y) * 19349663U ^
                               static_cast<uint32_t>(key.reach) * 83492791U;
        return mixed % kEntries;
    }

    struct Entry {
        LitCellsKey key;
        Cells cells;
    };
    std::array<Entry, kEntries> entries_{};
};

}  // namespace grotmere
