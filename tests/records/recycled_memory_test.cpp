#include "records/recycled_memory.hpp"

#include <gtest/gtest.h>

#include <cstdint>

#include "records/record.hpp"

namespace grotmere {
namespace {

struct Shot : Record {
    int32_t x = 3;
    int32_t y = 4;
};

TEST(RecycledMemory, ADroppedRecordsMemoryMakesTheNextAndLiveOnesStayApart) {
    auto first = make_recycled<Shot>();
    auto second = make_recycled<Shot>();
    EXPECT_NE(first.get(), second.get());
    const Shot* dropped = first.get();
    first.reset();
    auto third = make_recycled<Shot>();
    EXPECT_EQ(third.get(), dropped);
    EXPECT_EQ(third->x, 3) << "a record made in used memory still starts with its defaults";
    std::weak_ptr<Shot> watcher = second;
    second.reset();
    EXPECT_TRUE(watcher.expired());
}

}  // namespace
}  // namespace grotmere
