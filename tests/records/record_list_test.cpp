#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actors/trank.hpp"
#include "records/record_list.hpp"
#include "world/gegenstand.hpp"

namespace grotmere {
namespace {

std::shared_ptr<TGegenstand> item(const std::string& name) {
    auto made = std::make_shared<TGegenstand>();
    made->name = name;
    return made;
}

std::string names(RecordList& list) {
    std::string all;
    list.for_each_of<TGegenstand>(
        [&all](std::shared_ptr<TGegenstand>& each) { all += each->name; });
    return all;
}

class RecordListTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"a", "b", "c", "d"}) {
            auto made = item(name);
            list.append(made);
            items.push_back(made);
        }
    }

    RecordList list;
    std::vector<std::shared_ptr<TGegenstand>> items;
};

TEST_F(RecordListTest, AppendsAtTheEndAndRemovesTheFirstOccurrence) {
    list.append(items[0]);
    EXPECT_EQ(names(list), "abcda");
    EXPECT_TRUE(list.remove(items[0]));
    EXPECT_EQ(names(list), "bcda");
    EXPECT_FALSE(list.remove(item("x")));
    list.append(nullptr);
    EXPECT_EQ(list.count(), 4);
    EXPECT_EQ(list.first(), items[1]);
}

TEST_F(RecordListTest, AWalkGoesOnAfterRemovingTheVisitedRecord) {
    std::string visited;
    list.for_each([&](RecordRef& record) {
        visited += std::static_pointer_cast<TGegenstand>(record)->name;
        if (record == items[1]) list.remove(record);
    });
    EXPECT_EQ(visited, "abcd");
    EXPECT_EQ(names(list), "acd");
}

// The visited record leaves in constant time, also from inside a nested walk over the same list,
// and any other record is removed as remove() removes it.
TEST_F(RecordListTest, TheVisitedRecordIsRemovedWhereTheWalkStands) {
    list.for_each([&](RecordRef& record) {
        if (record == items[0]) {
            list.for_each([&](RecordRef& inner) {
                if (inner == items[2]) list.remove_visited(inner.get());
            });
            list.remove_visited(items[3].get());
        }
        if (record == items[1]) list.remove_visited(record.get());
    });
    EXPECT_EQ(names(list), "a");
}

TEST_F(RecordListTest, AWalkSkipsRecordsRemovedAheadOfItAndKeepsVisitedOnes) {
    std::string visited;
    list.for_each([&](RecordRef& record) {
        visited += std::static_pointer_cast<TGegenstand>(record)->name;
        if (record == items[1]) {
            list.remove(items[0]);  // behind the walk
            list.remove(items[2]);  // ahead of the walk
        }
    });
    EXPECT_EQ(visited, "abd");
    EXPECT_EQ(names(list), "bd");
}

TEST_F(RecordListTest, RecordsAppendedDuringAWalkAreVisited) {
    std::string visited;
    list.for_each([&](RecordRef& record) {
        auto each = std::static_pointer_cast<TGegenstand>(record);
        visited += each->name;
        // Many appends, so the storage moves while a record is being visited.
        if (each->name == "b") {
            for (int i = 0; i < 100; ++i)
                list.append(item(i == 99 ? "z" : ""));
        }
    });
    EXPECT_EQ(visited, "abcdz");
    EXPECT_EQ(list.count(), 104);
}

TEST_F(RecordListTest, ARemovedRecordLivesUntilItsVisitEnds) {
    std::weak_ptr<TGegenstand> watched = items[2];
    items.clear();
    bool alive_after_remove = false;
    list.for_each([&](RecordRef& record) {
        if (record.get() != watched.lock().get()) return;
        list.remove(record);
        alive_after_remove = !watched.expired();
    });
    EXPECT_TRUE(alive_after_remove);
    EXPECT_TRUE(watched.expired());
}

TEST_F(RecordListTest, NestedWalksAndClearingLeaveAConsistentList) {
    std::string outer;
    list.for_each([&](RecordRef& record) {
        outer += std::static_pointer_cast<TGegenstand>(record)->name;
        // The inner walk removes the outer walk's next record; the outer walk must not see it.
        list.for_each([&](RecordRef& inner) {
            if (record == items[0] && inner == items[1]) list.remove(inner);
        });
        if (record == items[2]) list.clear();
    });
    EXPECT_EQ(outer, "ac");
    EXPECT_TRUE(list.empty());
    list.append(items[3]);
    EXPECT_EQ(names(list), "d");
}

TEST_F(RecordListTest, AWalkStopsWhenAskedAndVisitsOnlyTheWantedType) {
    auto potion = std::make_shared<TTrank>();
    potion->name = "p";
    list.append(potion);
    int32_t seen = 0;
    list.for_each([&](RecordRef&) { return ++seen == 2 ? WalkStep::Stop : WalkStep::Continue; });
    EXPECT_EQ(seen, 2);
    std::string potions;
    list.for_each_of<TTrank>([&](std::shared_ptr<TTrank>& each) { potions += each->name; });
    EXPECT_EQ(potions, "p");
}

}  // namespace
}  // namespace grotmere
