#include <gtest/gtest.h>

#include "actors/gegner.hpp"
#include "actors/world_passes.hpp"
#include "tests/records/definition_test_support.hpp"
#include "tests/world/world_test_support.hpp"
#include "world/door.hpp"
#include "world/karte.hpp"
#include "world/map_file.hpp"
#include "world/mobiliar.hpp"
#include "world/schalter.hpp"
#include "world/teleport.hpp"
#include "world/tile_writes.hpp"

namespace grotmere {
namespace {

class MapFile : public testing::WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        testing::load_into(
            item_prototypes,
            "TLeuchte { name = Lamp  leuchtkraft = 80  brenndauer = 300  brennt = 0 }\n"
            "TWaffe { name = Sword }\n");
        testing::load_into(monster_prototypes, "TGegner { name = Rat  hp = 3 }\n");
        // The 80 x 25 floor that stands before any map file is read.
        testing::make_map(std::vector<std::string>(25, std::string(80, '0')));
    }

    std::string write(const std::string& text) { return dir.write("test.map", text); }

    // Loads the text as a map; standard error and output are kept for the test to read.
    std::optional<LoadProblem> load(const std::string& text) {
        const std::string file = write(text);
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        std::optional<LoadProblem> refusal = load_map_file(file);
        out = ::testing::internal::GetCapturedStdout();
        err = ::testing::internal::GetCapturedStderr();
        return refusal;
    }

    static std::vector<int32_t> row_ids(int32_t y) {
        std::vector<int32_t> ids;
        for (int32_t x = 0; x < map_width; ++x)
            ids.push_back(tile(x, y).ID);
        return ids;
    }

    static std::vector<std::string> types_on(int32_t x, int32_t y) {
        std::vector<std::string> types;
        tile(x, y).gegenstaende()->for_each(
            [&](RecordRef& record) { types.push_back(TTypeId::ForObject(*record)->Name()); });
        return types;
    }

    testing::ScratchDir dir;
    std::string out;
    std::string err;
};

TEST_F(MapFile, OnlyTheDigitsOfAGridLineMakeTerrain) {
    ASSERT_FALSE(load("6\n1\n1#.2 3\n"));
    EXPECT_EQ(map_width, 6);
    EXPECT_EQ(map_height, 1);
    EXPECT_EQ(row_ids(0), (std::vector<int32_t>{1, 0, 0, 2, 0, 3}));
}

TEST_F(MapFile, LongShortAndCrlfLines) {
    ASSERT_FALSE(load("3\r\n3\r\n1111111\r\n1\r\n212\r\n"));
    EXPECT_EQ(row_ids(0), (std::vector<int32_t>{1, 1, 1})) << "extra characters are dropped";
    EXPECT_EQ(row_ids(1), (std::vector<int32_t>{1, 0, 0})) << "a short line ends in floor";
    EXPECT_EQ(row_ids(2), (std::vector<int32_t>{2, 1, 2})) << "not the rest of the long line";
    EXPECT_TRUE(err.empty()) << err;
}

TEST_F(MapFile, LoadingGivesFreshTilesOfTheFilesSize) {
    write_tile(1, 1)->erfasst = 1;
    tile(1, 1).gegenstaende()->append(new_record<TDoor>());
    ASSERT_FALSE(load("4\n2\n0000\n0000\n"));
    EXPECT_EQ(current_map, dir.path("test.map"));
    EXPECT_EQ(tile(1, 1).erfasst, 0);
    EXPECT_TRUE(tile(1, 1).gegenstaende()->empty());
}

TEST_F(MapFile, TheRecordSectionBeginsAfterTheLastGridLine) {
    // Read from the start, the grid line would make a light.
    ASSERT_FALSE(load("3\n1\nTLeuchte { name = Lamp }\nTLeuchte { name = Lamp x = 2 }\n"));
    EXPECT_TRUE(tile(0, 0).gegenstaende()->empty());
    EXPECT_EQ(types_on(2, 0), (std::vector<std::string>{"TLeuchte"}));
}

TEST_F(MapFile, RecordsArePlacedInFivePassesInFileOrder) {
    ASSERT_FALSE(
        load("3\n3\n000\n000\n000\n"
             "TTeleport { x = 1 y = 1 }\n"
             "TDoor { x = 1 y = 1 open = 1 }\n"
             "TSchalter { x = 1 y = 1 }\n"
             "TDoor { x = 1 y = 1 open = 0 }\n"
             "TMobiliar { name = Table blocks = 1 }\n"
             "TLeuchte { name = Lamp x = 1 y = 1 }\n"
             "TGegner { name = Rat x = 0 y = 0 }\n"));
    EXPECT_EQ(types_on(1, 1),
              (std::vector<std::string>{"TLeuchte", "TSchalter", "TDoor", "TDoor", "TTeleport"}));
    std::vector<RecordRef> on_tile = tile(1, 1).gegenstaende()->records();
    EXPECT_EQ(std::dynamic_pointer_cast<TDoor>(on_tile[2])->open, 1) << "doors in file order";

    std::vector<std::string> left;
    map_records->for_each(
        [&](RecordRef& record) { left.push_back(TTypeId::ForObject(*record)->Name()); });
    EXPECT_EQ(left,
              (std::vector<std::string>{"TTeleport", "TDoor", "TSchalter", "TDoor", "TMobiliar"}));
    EXPECT_TRUE(map_records->contains(on_tile[4].get())) << "the same teleport, not a copy";
    EXPECT_EQ(monsters->count(), 1);
}

TEST_F(MapFile, ALightIsACopyOfItsPrototypeWithPlaceAndBurnTimeFromTheRecord) {
    ASSERT_FALSE(
        load("3\n3\n000\n000\n000\n"
             "TLeuchte { name = Lamp x = 2 y = 1 leuchtkraft = 5 }\n"
             "TLeuchte { name = Lamp x = 0 y = 2 brenndauer = 7 }\n"));
    auto first = std::dynamic_pointer_cast<TLeuchte>(tile(2, 1).gegenstaende()->first());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->leuchtkraft, 80) << "not the record's";
    EXPECT_EQ(first->brennt, 0) << "the prototype's";
    EXPECT_EQ(first->brenndauer, -1) << "the record's own default, not the prototype's 300";
    EXPECT_EQ(first->x, 2);
    EXPECT_EQ(first->y, 1);
    auto second = std::dynamic_pointer_cast<TLeuchte>(tile(0, 2).gegenstaende()->first());
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->brenndauer, 7);
}

TEST_F(MapFile, MonsterSpawnsAreCalledAnzahlTimesAndLeaveNoRecord) {
    ASSERT_FALSE(
        load("3\n1\n000\n"
             "TGegner { name = Rat x = 2 y = 0 anzahl = 3 }\n"
             "TGegner { name = Rat x = 1 y = 0 anzahl = 0 }\n"
             "TGegner { name = Nobody x = 1 y = 0 }\n"));
    EXPECT_EQ(monsters->count(), 3);
    EXPECT_EQ(out,
              "Es wurde ein Rat an Position (2|0) erstellt.\n"
              "Es wurde ein Rat an Position (2|0) erstellt.\n"
              "Es wurde ein Rat an Position (2|0) erstellt.\n");
    EXPECT_TRUE(map_records->empty());
    EXPECT_EQ(err, dir.path("test.map") +
                       ":6: warning: the spawn of \"Nobody\" at (1|0) finds no monster prototype "
                       "of that name; no monster is made\n");
}

TEST_F(MapFile, FilesThatCannotBeUsedAreRefusedAndChangeNothing) {
    write_tile(3, 3)->ID = 1;
    auto refused = [&](const std::string& text, const std::string& part) {
        std::optional<LoadProblem> refusal = load(text);
        if (!refusal) return ::testing::AssertionFailure() << "loaded: " << text;
        if (refusal->file != dir.path("test.map") ||
            refusal->message.find(part) == std::string::npos)
            return ::testing::AssertionFailure() << refusal->to_text();
        return ::testing::AssertionSuccess();
    };
    EXPECT_TRUE(refused("0\n5\n", "width \"0\" lies outside 1 to 256"));
    EXPECT_TRUE(refused("257\n5\n", "width \"257\""));
    EXPECT_TRUE(refused("5\n-3\n", "height \"-3\""));
    // What was read is shown as written, and where.
    EXPECT_TRUE(refused("abc\n5\n", "width \"abc\" (read as 0) lies outside"));
    EXPECT_TRUE(refused("", "width (an empty line)"));
    EXPECT_TRUE(refused("\x01\x02\xff\n5\n", "width \"\\x01\\x02\xff\" (read as 0)"));
    EXPECT_TRUE(refused("5\n", "height (an empty line)"));
    EXPECT_TRUE(refused("4294967297\n5\n", "width \"4294967297\" (a number beyond 32 bits)"));
    EXPECT_EQ(load("5\n-3\n")->line, 2);
    EXPECT_EQ(map_width, 80);
    EXPECT_EQ(map_height, 25);
    EXPECT_EQ(tile(3, 3).ID, 1);
    EXPECT_TRUE(current_map.empty());
    EXPECT_FALSE(load("256\n256\n"));
    EXPECT_EQ(map_width, 256) << "the largest size fits";

    std::optional<LoadProblem> missing = load_map_file(dir.path("missing.map"));
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->file, dir.path("missing.map"));
    EXPECT_EQ(missing->message, "the file cannot be opened, so there is no map");
}

TEST_F(MapFile, TheMapObjectReportsARefusedFile) {
    TKarte map;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(map.load_map(dir.path("missing.map")), 1);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("cannot be opened"), std::string::npos);
    ASSERT_EQ(load_problems.size(), 1U);
    EXPECT_EQ(map.load_map(write("2\n1\n01\n")), 0);
}

TEST_F(MapFile, BadRecordsAreSkippedWithAWarningNamingTheFile) {
    ASSERT_FALSE(
        load("3\n2\n000\n111\n"
             "TLeuchte { name = Candle x = 1 y = 0 }\n"
             "TLeuchte { name = Sword x = 1 y = 0 }\n"
             "TLeuchte { name = Lamp x = 3 y = 0 }\n"
             "TGegner { name = Rat x = 5 y = 0 }\n"
             "TGegner { name = Rat x = -1 y = 1 anzahl = 4 }\n"
             "TDoor { x = 0 y = -2 }\n"));
    const std::string file = dir.path("test.map");
    EXPECT_NE(
        err.find(file + ":5: warning: the light \"Candle\" at (1|0) names no light prototype"),
        std::string::npos)
        << err;
    EXPECT_NE(err.find("\"Sword\" at (1|0) names no light prototype"), std::string::npos);
    EXPECT_NE(err.find("\"Lamp\" at (3|0) lies outside the map"), std::string::npos);
    EXPECT_NE(err.find("the spawn of \"Rat\" at (5|0) lies outside the map; refused"),
              std::string::npos);
    EXPECT_NE(err.find("no open tile for \"Rat\" at (-1|1)"), std::string::npos)
        << "row 1 is all wall";
    EXPECT_NE(err.find("the TDoor at (0|-2) lies outside the map"), std::string::npos);
    EXPECT_EQ(load_problems.size(), 6U) << "one warning per record";
    EXPECT_TRUE(tile(1, 0).gegenstaende()->empty());
    EXPECT_EQ(monsters->count(), 0);
    EXPECT_EQ(map_records->count(), 1) << "only the door is left";
}

TEST_F(MapFile, RandomFillWallsUpRoomFloorOnly) {
    testing::make_map({"0020", "0300"});
    karte->randomfill(100);
    EXPECT_EQ(row_ids(0), (std::vector<int32_t>{1, 1, 2, 1}))
        << "more walls than floor stops when the floor is gone";
    EXPECT_EQ(row_ids(1), (std::vector<int32_t>{1, 3, 1, 1}));
    EXPECT_EQ(tile(0, 0).begehbar, 0);
}

}  // namespace
}  // namespace grotmere
