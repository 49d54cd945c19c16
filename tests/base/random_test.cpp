#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "base/random.hpp"

namespace grotmere {
namespace {

class RandomTest : public ::testing::Test {
protected:
    void SetUp() override { set_random_state(kUnseededRandomState); }
};

TEST_F(RandomTest, EveryDrawAdvancesTheStateTwice) {
    seed_random(1);
    EXPECT_EQ(random_state(), 1);
    EXPECT_EQ(random_range(5, 5), 5);
    EXPECT_EQ(random_state(), 182605794) << "two advances: 48271, then 182605794";
}

// Worked values: any change to the generator or its mappings changes every replayed game.
TEST_F(RandomTest, TheFirstRollsFromSeedOne) {
    seed_random(1);
    std::vector<int32_t> percent;
    for (int i = 0; i < 10; ++i)
        percent.push_back(random_range(1, 100));
    EXPECT_EQ(percent, (std::vector<int32_t>{1, 41, 88, 6, 6, 36, 33, 37, 51, 91}));

    seed_random(1);
    std::vector<int32_t> dice;
    for (int i = 0; i < 5; ++i)
        dice.push_back(random_range(1, 6));
    EXPECT_EQ(dice, (std::vector<int32_t>{1, 3, 6, 1, 1}));

    seed_random(1);
    EXPECT_DOUBLE_EQ(random_double(), 8.9908690227513688e-05);
}

// The generator's step is Schrage's for every state, a restored one outside its range included.
TEST_F(RandomTest, TheStepIsSchragesForEveryState) {
    const auto schrage = [](int32_t s) {
        s = 48271 * (s % 44488) - 3399 * (s / 44488);
        return s < 0 ? s + 2147483647 : s;
    };
    std::vector<int32_t> states{1, 2, 44488, 2147483646, 2147483647, 0, -1, INT32_MIN};
    for (int64_t s = 1; s < 2147483647; s += 2147483647 / 100003)
        states.push_back(static_cast<int32_t>(s));
    for (const int32_t s : states) {
        set_random_state(s);
        random_double();
        ASSERT_EQ(random_state(), schrage(schrage(s))) << s;
    }
}

TEST_F(RandomTest, SeedsThatWouldStickAreReplaced) {
    for (int32_t seed : {0, 2147483647, static_cast<int32_t>(0x80000000), -1}) {
        seed_random(seed);
        int32_t masked = seed & 0x7FFFFFFF;
        int32_t expected = (masked == 0 || masked == 2147483647) ? 4660 : masked;
        EXPECT_EQ(random_state(), expected) << seed;
    }
}

TEST_F(RandomTest, RangesCoverBothBoundsInEitherOrder) {
    seed_random(7);
    std::set<int32_t> forward, backward, pair, reversed_pair;
    for (int i = 0; i < 2000; ++i) {
        forward.insert(random_range(1, 6));
        backward.insert(random_range(6, 1));
        pair.insert(random_range(0, 1));
        reversed_pair.insert(random_range(1, 0));
    }
    EXPECT_EQ(forward, (std::set<int32_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(backward, forward);
    EXPECT_EQ(pair, (std::set<int32_t>{0, 1}));
    EXPECT_EQ(reversed_pair, pair);
    EXPECT_EQ(random_range(-3, -3), -3);
}

TEST_F(RandomTest, ExtremeBoundsStayInsideTheRange) {
    seed_random(99);
    for (int i = 0; i < 1000; ++i) {
        int32_t value = random_range(-2000000000, 2000000000);
        EXPECT_GE(value, -2000000000);
        EXPECT_LE(value, 2000000000);
    }
}

TEST_F(RandomTest, SameSeedReplaysTheSameRolls) {
    seed_random(12345);
    std::vector<int32_t> first;
    for (int i = 0; i < 50; ++i)
        first.push_back(random_range(1, 100));
    seed_random(12345);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(random_range(1, 100), first[i]);
}

}  // namespace
}  // namespace grotmere
