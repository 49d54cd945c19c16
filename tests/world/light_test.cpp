#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "actors/gegner.hpp"
#include "actors/player.hpp"
#include "actors/treasure.hpp"
#include "actors/world_passes.hpp"
#include "base/random.hpp"
#include "tests/world/world_test_support.hpp"
#include "world/door.hpp"
#include "world/karte.hpp"
#include "world/tile_writes.hpp"

namespace grotmere {
namespace {

using Light = testing::WorldTest;

std::vector<std::string> open_floor(int32_t width, int32_t height) {
    return std::vector<std::string>(height, std::string(width, '0'));
}

TEST_F(Light, ANewLightShinesByTheInverseOfItsDistance) {
    testing::make_map(open_floor(21, 21));
    EXPECT_EQ(light()->erleuchte(10, 10), 1);
    auto values = [](int32_t x, int32_t y) {
        const TKartenTile& t = tile(x, y);
        return std::vector<int32_t>{t.lichtstaerke, t.lichtr, t.lichtg, t.lichtb};
    };
    const std::vector<int32_t> hundred{100, 100, 100, 100};
    EXPECT_EQ(values(10, 10), hundred) << "the source's own cell counts as distance 1";
    EXPECT_EQ(values(11, 10), hundred);
    EXPECT_EQ(values(10, 9), hundred);
    EXPECT_EQ(values(12, 10), (std::vector<int32_t>{50, 50, 50, 50}));
    EXPECT_EQ(values(12, 11), (std::vector<int32_t>{44, 44, 44, 44})) << "distance 2.236";
    EXPECT_EQ(values(15, 10), (std::vector<int32_t>{20, 20, 20, 20}));
    EXPECT_EQ(values(13, 14), (std::vector<int32_t>{20, 20, 20, 20})) << "3 and 4 away is 5";
    EXPECT_EQ(values(14, 14), (std::vector<int32_t>{0, 0, 0, 0})) << "5.66 is beyond reach";
    EXPECT_EQ(values(16, 10), (std::vector<int32_t>{0, 0, 0, 0}));
}

TEST_F(Light, LightAddsUpAndStopsAtAHundred) {
    testing::make_map(open_floor(21, 21));
    light()->erleuchte(8, 10);
    light()->erleuchte(12, 10);
    EXPECT_EQ(tile(10, 10).lichtstaerke, 100) << "50 from each side";
    EXPECT_EQ(tile(8, 10).lichtr, 100) << "100 + 25 is capped";
    EXPECT_EQ(tile(9, 10).lichtb, 100) << "100 + 33 is capped";
}

TEST_F(Light, ColourAndIntensityAreMadeToAgree) {
    testing::make_map(open_floor(21, 21));
    auto grey = light();
    grey->r = grey->g = grey->b = 0;
    grey->leuchtkraft = 150;
    grey->erleuchte(10, 10);
    EXPECT_EQ(grey->r, 50);
    EXPECT_EQ(grey->g, 50);
    EXPECT_EQ(grey->b, 50);
    EXPECT_EQ(grey->leuchtkraft, 150);

    auto orange = light();
    orange->r = 200;
    orange->g = 100;
    orange->b = 0;
    orange->leuchtkraft = 30;
    orange->brennt = 0;
    orange->erleuchte(10, 10);
    EXPECT_EQ(orange->leuchtkraft, 100) << "even an unlit light is made to agree";
}

TEST_F(Light, ACarriedLightBurnsDownOverFourTurnsAndIsGone) {
    testing::make_map(open_floor(21, 21));
    player = new_record<TPlayer>();
    player->x = player->y = 10;
    player->leuchte = light(5, 3);
    player->leuchte->name = "Torch";
    const std::vector<int32_t> expected_light{100, 100, 0};
    for (int32_t turn = 0; turn < 3; ++turn) {
        TKarte::darken();
        update_lights();
        EXPECT_EQ(tile(10, 10).lichtstaerke, expected_light[turn]) << "turn " << turn + 1;
        ASSERT_NE(player->leuchte, nullptr);
    }
    EXPECT_EQ(player->leuchte->brenndauer, 0);
    EXPECT_EQ(player->leuchte->brennt, 1) << "it goes out only on the next call";
    EXPECT_EQ(message_lines[0], "");
    TKarte::darken();
    update_lights();
    EXPECT_EQ(player->leuchte, nullptr);
    EXPECT_EQ(message_lines[0], "Torch has burnt out.");
}

TEST_F(Light, BurnTimesForeverAndBelowMinusOne) {
    testing::make_map(open_floor(21, 21));
    auto forever = light(5, -1);
    auto odd = light(5, -2);
    for (int32_t turn = 0; turn < 5; ++turn) {
        EXPECT_EQ(forever->erleuchte(5, 5), 1);
        EXPECT_EQ(odd->erleuchte(15, 15), 1);
    }
    EXPECT_EQ(forever->brenndauer, -1);
    EXPECT_EQ(odd->brenndauer, -2);
    EXPECT_GT(tile(5, 5).lichtstaerke, 0);
    EXPECT_EQ(tile(15, 15).lichtstaerke, 0) << "below -1 a light neither shines nor burns";

    auto unlit = light(5, 4);
    unlit->brennt = 0;
    EXPECT_EQ(unlit->erleuchte(5, 5), 1);
    EXPECT_EQ(unlit->brenndauer, 4) << "an unlit light keeps its burn time";
}

TEST_F(Light, BurntOutLightsStayOnTilesButLeaveHeaps) {
    testing::make_map(open_floor(21, 21));
    auto lying = light_on_tile(3, 3);
    lying->brenndauer = 0;
    auto heap = new_record<TTreasure>();
    heap->x = heap->y = 15;
    auto spent = light(5, 0);
    auto lamp = light(5, -1);
    heap->drop->append(spent);
    heap->drop->append(lamp);
    treasures->append(heap);

    update_lights();
    EXPECT_TRUE(tile(3, 3).gegenstaende()->contains(lying.get()));
    EXPECT_EQ(lying->brennt, 0);
    EXPECT_EQ(tile(3, 3).lichtstaerke, 0);
    EXPECT_FALSE(heap->drop->contains(spent.get()));
    EXPECT_TRUE(heap->drop->contains(lamp.get()));
    EXPECT_EQ(tile(15, 15).lichtstaerke, 100) << "the heap's lamp shines from the heap";
    EXPECT_EQ(message_lines[0], "") << "lights in heaps go out without a word";
}

TEST_F(Light, WallsAndClosedDoorsKeepCellsDarkButMonstersDoNot) {
    testing::make_map({"0000000", "0010000", "0000000", "0000000"});
    auto door = new_record<TDoor>();
    tile(3, 2).gegenstaende()->append(door);
    auto rat = new_record<TGegner>();
    rat->name = "Rat";
    rat->x = 2;
    rat->y = 0;
    monsters->append(rat);
    TKarte::update();
    light()->erleuchte(1, 1);
    EXPECT_EQ(tile(2, 1).lichtstaerke, 0) << "a wall is never lit";
    EXPECT_EQ(tile(3, 1).lichtstaerke, 0) << "behind the wall";
    EXPECT_EQ(tile(3, 2).lichtstaerke, 0) << "the closed door's own cell";
    EXPECT_EQ(tile(5, 3).lichtstaerke, 0) << "behind the closed door";
    EXPECT_EQ(tile(3, 0).lichtstaerke, 44) << "past the monster at (2,0)";
}

TEST_F(Light, HugeValuesFromDataStayWithinBounds) {
    testing::make_map(open_floor(10, 10));
    auto wild = light(2147483647, -1);
    wild->r = 2147483647;
    wild->g = -2147483647;
    wild->b = 1;
    wild->erleuchte(5, 5);
    EXPECT_EQ(tile(9, 9).lichtr, 100) << "the whole map is within reach";
    EXPECT_LT(tile(9, 9).lichtg, 0);
    EXPECT_EQ(tile(5, 5).lichtg, std::numeric_limits<int32_t>::min())
        << "a sum below the 32-bit range stops at its end";
    wild->erleuchte(5, 5);
    EXPECT_EQ(tile(5, 5).lichtg, std::numeric_limits<int32_t>::min());
    light()->erleuchte(-2000000000, 2000000000);  // far outside: no cell, no crash
    SUCCEED();
}

}  // namespace
}  // namespace grotmere

namespace grotmere {
namespace {

// Lights of small reach are shone with precomputed masks, larger ones by walking every line; both
// must light exactly the cells that line_of_sight and the distance allow, with 100 / d each.
TEST_F(Light, EveryReachLightsExactlyTheCellsInSightAndReach) {
    seed_random(99);
    for (int32_t round = 0; round < 106; ++round) {
        const int32_t width = random_range(1, 24);
        const int32_t height = random_range(1, 24);
        std::vector<std::string> rows(height, std::string(width, '0'));
        for (std::string& row : rows) {
            for (char& c : row)
                c = random_range(1, 100) <= 25 ? '1' : '0';
        }
        testing::make_map(rows);
        write_tile(random_range(0, width - 1), random_range(0, height - 1))->begehbar = 0;
        const int32_t x = random_range(0, width - 1);
        const int32_t y = random_range(0, height - 1);
        // 0 to 5 by mask, 6 to 8 and then reaches beyond the map's size by shadow tables, and
        // from 65 by walking
        const int32_t reach = round < 60 ? round % 9 : round < 100 ? round - 50 : round - 35;
        light(reach)->erleuchte(x, y);
        for (int32_t i = 0; i < width; ++i) {
            for (int32_t j = 0; j < height; ++j) {
                float d =
                    static_cast<float>(std::sqrt(double((i - x) * (i - x) + (j - y) * (j - y))));
                if (d == 0.0F) d = 1.0F;
                const bool lit = d <= static_cast<float>(reach) && line_of_sight(i, j, x, y) == 1;
                const int32_t expected = lit ? std::min(static_cast<int32_t>(100.0F / d), 100) : 0;
                ASSERT_EQ(tile(i, j).lichtb, expected)
                    << "round " << round << ", light at (" << x << "," << y << ") reach " << reach
                    << ", cell (" << i << "," << j << ")";
            }
        }
    }
}

// Lights on tiles shine while the scan of the tiles goes on; the last columns must not be missed.
TEST_F(Light, EveryLightOnATileShinesOncePerPass) {
    testing::make_map(std::vector<std::string>(3, std::string(256, '0')));
    std::vector<std::shared_ptr<TLeuchte>> lights;
    for (int32_t x : {0, 3, 120, 255}) {
        lights.push_back(light_on_tile(x, 1));
        lights.back()->brenndauer = 10;
    }
    auto wide = light_on_tile(255, 2);
    wide->reichweite = 9;
    wide->brenndauer = 10;
    update_lights();
    for (const auto& each : lights)
        EXPECT_EQ(each->brenndauer, 9);
    EXPECT_EQ(wide->brenndauer, 9);
    EXPECT_EQ(tile(247, 2).lichtstaerke, 12) << "only the reach-9 light, 8 away";
    EXPECT_EQ(tile(130, 0).lichtstaerke, 0);
}

}  // namespace
}  // namespace grotmere
