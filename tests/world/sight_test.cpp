#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "base/random.hpp"
#include "tests/world/world_test_support.hpp"
#include "world/door.hpp"
#include "world/karte.hpp"
#include "world/tile_writes.hpp"

namespace grotmere {
namespace {

using Sight = testing::WorldTest;

int32_t seen_count() {
    int32_t count = 0;
    for (int32_t x = 0; x < map_width; ++x) {
        for (int32_t y = 0; y < map_height; ++y)
            count += tile_grid.at(x, y)->sichtbar;
    }
    return count;
}

TEST_F(Sight, TheRadiusIsEuclideanAndIncludesFive) {
    testing::make_map(std::vector<std::string>(15, std::string(15, '0')));
    game_camera()->in_sight(5, 5, 5);
    EXPECT_EQ(tile(8, 9).sichtbar, 1) << "3 across and 4 down is exactly 5";
    EXPECT_EQ(tile(8, 9).erfasst, 1);
    EXPECT_EQ(tile(10, 6).sichtbar, 0) << "5 across and 1 down is 5.099";
    EXPECT_EQ(tile(10, 5).sichtbar, 1);
    EXPECT_EQ(seen_count(), 81) << "the cells of a radius-5 disc";
}

// The sight test by its definition: every cell of the square within the radius whose line to the
// viewer is clear.
std::vector<int32_t> seen_by_definition(int32_t x, int32_t y, int32_t r) {
    std::vector<int32_t> seen;
    for (int32_t i = 0; i < map_width; ++i) {
        for (int32_t j = 0; j < map_height; ++j) {
            const double d = std::sqrt(double((i - x) * (i - x) + (j - y) * (j - y)));
            seen.push_back(std::abs(i - x) <= r && std::abs(j - y) <= r && d <= r &&
                           line_of_sight(i, j, x, y) == 1);
        }
    }
    return seen;
}

std::vector<int32_t> seen_now() {
    std::vector<int32_t> seen;
    for (int32_t i = 0; i < map_width; ++i) {
        for (int32_t j = 0; j < map_height; ++j)
            seen.push_back(tile_grid.at(i, j)->sichtbar);
    }
    return seen;
}

// Walls, closed doors and walkability values other than 0 and 1 on random maps, the viewer
// anywhere (at the edges, on a wall, outside the map), every radius the masks cover and beyond.
TEST_F(Sight, EveryRadiusSeesExactlyTheCellsWithClearLines) {
    seed_random(5);
    game_camera();
    for (int32_t round = 0; round < 400; ++round) {
        testing::make_map(
            std::vector<std::string>(random_range(1, 16), std::string(random_range(1, 16), '0')));
        karte->randomfill(random_range(0, map_width * map_height / 3));
        for (int32_t k = 0; k < 3; ++k) {
            tile(random_range(0, map_width - 1), random_range(0, map_height - 1)).begehbar =
                random_range(0, 2);
        }
        const int32_t x = random_range(-2, map_width + 1);
        const int32_t y = random_range(-2, map_height + 1);
        const int32_t r = random_range(-1, 7);
        TKarte::darken();
        kamera->in_sight(x, y, r);
        ASSERT_EQ(seen_now(), seen_by_definition(x, y, r))
            << "round " << round << " viewer " << x << "," << y << " radius " << r;
    }
}

TEST_F(Sight, DarkeningForgetsWhatIsSeenButNotWhatWasSeen) {
    testing::make_map(std::vector<std::string>(15, std::string(15, '0')));
    game_camera()->in_sight(5, 5, 5);
    write_tile(6, 6)->lichtstaerke = 30;
    TKarte::darken();
    EXPECT_EQ(tile(6, 6).sichtbar, 0);
    EXPECT_EQ(tile(6, 6).lichtstaerke, 0);
    EXPECT_EQ(tile(6, 6).erfasst, 1);
}

TEST_F(Sight, WallsAndClosedDoorsBlockTheLine) {
    testing::make_map({"00000", "00100", "00000"});
    EXPECT_EQ(line_of_sight(0, 1, 4, 1), 0) << "through the wall";
    EXPECT_EQ(line_of_sight(0, 0, 4, 0), 1);
    EXPECT_EQ(line_of_sight(2, 1, 0, 1), 0) << "the wall cell itself is never seen";
    EXPECT_EQ(line_of_sight(0, 1, 2, 1), 0) << "nor is a viewer standing in a wall";

    auto door = new_record<TDoor>();
    tile(2, 0).gegenstaende()->append(door);
    TKarte::update();
    EXPECT_EQ(line_of_sight(0, 0, 4, 0), 0) << "a closed door blocks";
    door->open = 1;
    TKarte::update();
    EXPECT_EQ(line_of_sight(0, 0, 4, 0), 1) << "an open one does not";
}

TEST_F(Sight, ACellSeesItselfWhenItIsOpen) {
    testing::make_map({"010"});
    EXPECT_EQ(line_of_sight(0, 0, 0, 0), 1);
    EXPECT_EQ(line_of_sight(1, 0, 1, 0), 0);
    write_tile(2, 0)->begehbar = 0;
    EXPECT_EQ(line_of_sight(2, 0, 2, 0), 0) << "any unwalkable cell blocks";
    write_tile(2, 0)->begehbar = 2;
    EXPECT_EQ(line_of_sight(2, 0, 2, 0), 1) << "only a begehbar of 0 blocks";
}

// The walk runs from the tested cell to the viewer, so a line and its reverse can disagree.
TEST_F(Sight, TheWalkStartsAtTheTestedCell) {
    testing::make_map({"010", "000"});
    EXPECT_EQ(line_of_sight(0, 0, 2, 1), 0) << "straight step first: into the wall at (1,0)";
    EXPECT_EQ(line_of_sight(2, 1, 0, 0), 1) << "straight along row 1, then diagonally";
    game_camera()->in_sight(0, 0, 5);
    EXPECT_EQ(tile(2, 1).sichtbar, 1) << "a viewer at (0,0) sees (2,1)";
    TKarte::darken();
    kamera->in_sight(2, 1, 5);
    EXPECT_EQ(tile(0, 0).sichtbar, 0) << "but a viewer at (2,1) does not see (0,0)";
}

TEST_F(Sight, OnlyCellsInsideTheMapAreSeen) {
    testing::make_map(std::vector<std::string>(4, std::string(4, '0')));
    game_camera()->in_sight(0, 0, 5);
    EXPECT_EQ(seen_count(), 16);
    EXPECT_EQ(line_of_sight(-1, 0, 0, 0), 0);
    EXPECT_EQ(line_of_sight(0, 0, 4, 0), 0);

    TKarte::darken();
    kamera->in_sight(300, 2000000000, 5);  // a player placed far outside by a data file
    kamera->in_sight(2147483647, -2147483647 - 1, 2147483647);
    EXPECT_EQ(seen_count(), 0);
    EXPECT_EQ(line_of_sight(-2147483647 - 1, 0, 2147483647, 3), 0);
}

}  // namespace
}  // namespace grotmere
