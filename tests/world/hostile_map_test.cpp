// Map files and lights written by a hostile or careless author: a grid shorter than its height, a
// NUL byte in a row, lights of any reach. Each is read as the rules say, with a warning naming
// file and line where something was surely not meant, and never reads outside the map.
#include <gtest/gtest.h>

#include <chrono>

#include "actors/player.hpp"
#include "actors/world_passes.hpp"
#include "tests/records/definition_test_support.hpp"
#include "tests/support/time_bound.hpp"
#include "tests/world/world_test_support.hpp"
#include "world/map_file.hpp"

namespace grotmere {
namespace {

class HostileMap : public testing::WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        testing::load_into(item_prototypes,
                           "TLeuchte { name = Lamp }\nTLeuchte { name = Dark reichweite = "
                           "-2147483647 }\n");
        testing::make_map(std::vector<std::string>(25, std::string(80, '0')));
    }

    // Loads the text as a map and returns what went to standard error.
    std::string load(const std::string& text) {
        const std::string file = dir.write("test.map", text);
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        refusal = load_map_file(file);
        ::testing::internal::GetCapturedStdout();
        return ::testing::internal::GetCapturedStderr();
    }
    std::string file() const { return dir.path("test.map"); }

    testing::ScratchDir dir;
    std::optional<LoadProblem> refusal;
};

TEST_F(HostileMap, AGridShorterThanItsHeightIsToldWhereTheRecordsBegin) {
    const std::string err = load(
        "4\n5\n0000\n0110\n"
        "TLeuchte { name = Lamp x = 1 y = 0 }\n"
        "TLeuchte { name = Lamp x = 2 y = 0 }\n");
    ASSERT_FALSE(refusal);
    EXPECT_NE(
        err.find(file() + ":5: warning: row 2 of the grid holds \"TLeuchte { name = Lamp x = 1 y "
                          "= 0 }\", which looks like the record section: the grid may have fewer "
                          "rows than its height 5"),
        std::string::npos)
        << err;
    EXPECT_NE(err.find(file() + ":7: warning: the file ends after 4 of the grid's 5 rows"),
              std::string::npos)
        << err;
    EXPECT_EQ(tile(1, 1).ID, 1) << "the grid itself is read as before";
    EXPECT_EQ(load_problems.size(), 2U) << err;
}

TEST_F(HostileMap, ANulByteInARowIsTold) {
    using namespace std::string_literals;
    const std::string err = load("4\n3\n0010\n01\0"s + "11\n1000\n");
    ASSERT_FALSE(refusal);
    EXPECT_NE(err.find(file() + ":4: warning: a NUL byte ends row 1 after 2 characters; the rest "
                                "of the line is read as the next row"),
              std::string::npos)
        << err;
    EXPECT_EQ(tile(2, 0).ID, 1);
    EXPECT_EQ(tile(0, 2).ID, 1) << "the rest of the line became row 2";
    EXPECT_NE(err.find(file() + ":6: warning: 1 lines after the grid's 3 rows look like more rows"),
              std::string::npos)
        << "the row it pushed out: " << err;
}

TEST_F(HostileMap, AGoodGridSaysNothing) {
    EXPECT_EQ(load("3\n2\n010\r\n002\nTLeuchte { name = Lamp x = 0 y = 0 }\n"), "");
    EXPECT_EQ(load("3\n2\n010\n000"), "") << "no line end after the last row";
}

// Read as the rules say, but surely not meant: each is told once, with its line.
TEST_F(HostileMap, OddTilesRowsPastTheHeightAndRecordsPlacedNowhereAreTold) {
    const std::string err = load("3\n2\n010\n0#.\n111\n101\nTTreasure { x = 1 y = 1 }\n");
    EXPECT_EQ(tile(1, 1).ID, 0) << "read as floor all the same";
    for (const std::string& told :
         {":4: warning: row 1 holds \"#\" at column 1, which is no terrain digit",
          ":5: warning: 2 lines after the grid's 2 rows look like more rows",
          ":7: warning: a TTreasure record among the map's records is placed nowhere"})
        EXPECT_NE(err.find(file() + told), std::string::npos) << told << "\n" << err;
}

TEST_F(HostileMap, WarningsAboutMapRecordsNameTheirLine) {
    const std::string err = load("3\n1\n000\n\nTLeuchte { name = Lamp x = 7 y = 0 }\n");
    EXPECT_NE(err.find(file() + ":5: warning: the light \"Lamp\" at (7|0) lies outside the map"),
              std::string::npos)
        << err;
}

// The light's square and its line walks are cut to the map: a reach far below 0 lights
// nothing, and a reach far above the map lights the map, whether the light lies or is carried.
TEST_F(HostileMap, AThousandBadRecordsAreToldAsAHundredAndACount) {
    std::string records;
    for (int k = 0; k < 1000; ++k)
        records += "TGegner { name = Nobody" + std::to_string(k) + " }\n";
    load("4\n2\n0000\n0000\n" + records + "TLeuchte { name = Candle }\n");
    ASSERT_EQ(load_problems.size(), 101U);
    EXPECT_EQ(load_problems.back().to_text(),
              file() + ": warning: 901 more problems are not shown");
}

TEST_F(HostileMap, LightsOfAnyReachStayOnTheMap) {
    load(
        "5\n5\n00000\n00000\n00000\n00000\n00000\n"
        "TLeuchte { name = Dark x = 0 y = 0 }\nTLeuchte { name = Dark x = 4 y = 4 }");
    ASSERT_FALSE(refusal);
    player = new_record<TPlayer>();
    player->x = 2;
    player->y = 2;
    for (int32_t reach : {-2147483647, INT32_MIN, -1}) {
        player->leuchte = light(reach);
        update_lights();
        for (int32_t x = 0; x < 5; ++x) {
            for (int32_t y = 0; y < 5; ++y)
                ASSERT_EQ(tile(x, y).lichtstaerke, 0) << reach;
        }
    }
    player->leuchte = light(INT32_MAX);
    update_lights();
    EXPECT_EQ(tile(4, 0).lichtstaerke, 35) << "100 / 2.83";
}

TEST_F(HostileMap, AHugeReachCostsNoMoreThanTheMap) {
    testing::make_map(std::vector<std::string>(256, std::string(256, '0')));
    for (int32_t i = 0; i < 20; ++i)
        light_on_tile(i * 12, 255 - i * 12)->reichweite = 255 + i * 100000000;
    auto start = std::chrono::steady_clock::now();
    update_lights();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, testing::seconds_allowed(5.0));
    EXPECT_EQ(tile(12, 244).lichtstaerke, 100);
}

}  // namespace
}  // namespace grotmere
