// A snapshot of the cells that the records of one list stand on. The monsters' turn asks for each
// monster whether a treasure heap lies under it, and the missile pass asks for each missile
// whether a monster stands on its tile; with a thousand records, walking the whole list for every
// question would cost milliseconds. The snapshot answers "nobody here" at once, and only a "yes"
// walks the list, in its order, as the rules say. A snapshot stays right while records only leave
// the list or stand still, which is all that happens to them during those passes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "records/record_list.hpp"

namespace grotmere {

class CellSet {
public:
    // Takes the cells (the fields x and y) of the records of type T in the list, forgetting the
    // earlier ones but keeping the storage, so a warm set allocates nothing.
    template <class T>
    void collect(RecordList& list) {
        keys_.clear();
        list.for_each_of<T>(
            [&](std::shared_ptr<T>& record) { keys_.push_back(key(record->x, record->y)); });
        std::sort(keys_.begin(), keys_.end());
    }

    bool contains(int32_t x, int32_t y) const {
        return std::binary_search(keys_.begin(), keys_.end(), key(x, y));
    }

private:
    static int64_t key(int32_t x, int32_t y) {
        return static_cast<int64_t>((static_cast<uint64_t>(static_cast<uint32_t>(x)) << 32) |
                                    static_cast<uint32_t>(y));
    }

    std::vector<int64_t> keys_;
};

}  // namespace grotmere
