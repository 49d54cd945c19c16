// The content check: a small data set that passes, then each kind of mistake a content author
// can make, put into that set, found with its file and line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include <unistd.h>

#include "check/content_check.hpp"
#include "world/world_state.hpp"

namespace grotmere {
namespace {

namespace fs = std::filesystem;

// A room of 3 x 3 on the left, a wall in column 4 with a door in row 2, a room on the right.
const char* const kGrid =
    "9\n5\n"
    "111111111\n"
    "100010001\n"
    "100000001\n"
    "100010001\n"
    "111111111\n";

class ContentCheck : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("grotmere_check_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_ / "bifs");
        files_["gegenstand.bif"] =
            "TWaffe { name = \"Sword\"  dmg = 2 }\n"
            "TWaffe { name = \"Bow\"  dmg = 1  reichweite = 5  munition = \"-Arrow-\" }\n"
            "TMunition { name = \"Arrow\"  anzahl = 10 }\n"
            "TTrank { name = \"Tonic\"  wirkung = \"hp+5|attack*2'3|dmg/2#2\" }\n"
            "TLeuchte { name = \"Lamp\" }\n"
            "TKey { name = \"Key\"  key_id = 1 }\n";
        files_["prototypen.bif"] = "TGegner { name = \"Rat\"  level = 1  hp = 3 }\n";
        files_["Tastatur.bif"] = "TTastatur { wait = 87 }\n";
        files_["player.bif"] =
            "TPlayer { name = \"P\"  hp = 10  hpmax = 10  x = 1  y = 2 }\n"
            "TKey { name = \"Key\" }\n";
        map_records_ =
            "TDoor { name = \"Door\"  x = 4  y = 2  locked = 1  key_id = 1 }\n"  // line 8
            "TLeuchte { name = \"Lamp\"  x = 2  y = 1 }\n"                       // line 9
            "TGegner { name = \"Rat\"  x = 6  y = 2 }\n"                         // line 10
            "TSchalter { name = \"Plate\"  x = 2  y = 3  art = \"trigger\"  wirkung = \"brennt\" "
            " ziel_name = \"Lamp\" }\n"                                          // line 11
            "TSchalter { name = \"Way Out\"  x = 7  y = 2  art = \"exit\" }\n";  // line 12
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::vector<std::string> check() {
        for (const auto& [name, text] : files_)
            std::ofstream(dir_ / "bifs" / name, std::ios::binary) << text;
        std::ofstream(dir_ / "bifs" / "karte2.map", std::ios::binary) << grid_ << map_records_;
        fs::path here = fs::current_path();
        fs::current_path(dir_);
        LoadProblems problems = check_content();
        fs::current_path(here);
        reset_world();
        std::vector<std::string> lines;
        for (const LoadProblem& problem : problems)
            lines.push_back(check_line(problem));
        return lines;
    }

    // The one problem the broken set has, which must start with `where` and hold `words`.
    void expect_only(const std::string& where, const std::string& words) {
        std::vector<std::string> lines = check();
        ASSERT_EQ(lines.size(), 1u) << ::testing::PrintToString(lines);
        EXPECT_EQ(lines[0].rfind(where, 0), 0u) << lines[0];
        EXPECT_NE(lines[0].find(words), std::string::npos) << lines[0];
    }

    fs::path dir_;
    std::map<std::string, std::string> files_;
    std::string grid_ = kGrid;
    std::string map_records_;
};

TEST_F(ContentCheck, ASoundSetHasNoProblem) {
    EXPECT_TRUE(check().empty()) << ::testing::PrintToString(check());
}

TEST_F(ContentCheck, UnknownTypesAndFieldsComeFromTheLoaderWithTheirLine) {
    files_["prototypen.bif"] += "TMonster { name = \"Bat\" }\n";
    expect_only("bifs/prototypen.bif:2: ", "unknown record type \"TMonster\"");
    SetUp();
    files_["gegenstand.bif"] += "TPanzer { name = \"Mail\"  armour = 2 }\n";
    expect_only("bifs/gegenstand.bif:7: ", "no field \"armour\"");
}

TEST_F(ContentCheck, NamesThatMatchNoPrototype) {
    map_records_ += "TLeuchte { name = \"Candle\"  x = 1  y = 1 }\n";
    expect_only("bifs/karte2.map:13: ", "the light \"Candle\" names no light prototype");
    SetUp();
    map_records_ += "TGegner { name = \"Rats\" }\n";
    expect_only("bifs/karte2.map:13: ", "\"Rats\" names no monster prototype");
    SetUp();
    files_["player.bif"] += "TTrank { name = \"Tonick\" }\n";
    expect_only("bifs/player.bif:3: ", "the starting item \"Tonick\" names no item prototype");
    SetUp();
    files_["gegenstand.bif"] +=
        "TWaffe { name = \"Sling\"  reichweite = 3  munition = \"-Stone-\" }\n";
    expect_only("bifs/gegenstand.bif:7: ", "shoots \"Stone\", which names no ammunition");
    SetUp();
    map_records_ +=
        "TSchalter { name = \"Lever\"  x = 3  y = 3  art = \"button\"  wirkung = \"open\""
        "  ziel_name = \"Door\"  ziel_x = 5 }\n";
    expect_only("bifs/karte2.map:13: ", "no door or light of that name stands in column 5");
}

TEST_F(ContentCheck, SpawnLevelsWithoutACandidate) {
    map_records_ += "TGegner { level = 4  abweichung = 1 }\n";
    expect_only("bifs/karte2.map:13: ", "no monster prototype has a level from 3 to 5");
}

TEST_F(ContentCheck, PlacesOutsideTheMapOrInsideWalls) {
    map_records_ += "TLeuchte { name = \"Lamp\"  x = 9  y = 1 }\n";
    expect_only("bifs/karte2.map:13: ", "the light \"Lamp\" lies outside the map at (9|1)");
    SetUp();
    map_records_ += "TGegner { name = \"Rat\"  x = 4  y = 1 }\n";
    expect_only("bifs/karte2.map:13: ", "stands in a wall at (4|1)");
    SetUp();
    map_records_ += "TGegner { name = \"Rat\"  y = 0 }\n";
    expect_only("bifs/karte2.map:13: ", "row 0, which holds no open tile");
    SetUp();
    map_records_ += "TTeleport { name = \"Gate\"  x = 1  y = 1  target_x = 0  target_y = 3 }\n";
    expect_only("bifs/karte2.map:13: ", "leads into a wall at (0|3)");
    SetUp();
    files_["player.bif"] = "TPlayer { name = \"P\"  x = 0  y = 0 }\nTKey { name = \"Key\" }\n";
    std::vector<std::string> lines = check();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "bifs/player.bif:1: the player's start stands in a wall at (0|0)");
}

TEST_F(ContentCheck, DoorsNothingOpensAndKeysThatOpenNothing) {
    map_records_ += "TDoor { name = \"Grate\"  x = 2  y = 2  locked = 1  key_id = 7 }\n";
    expect_only("bifs/karte2.map:13: ",
                "the locked door \"Grate\" at (2|2) can be opened by no key (no key has key_id 7) "
                "and no switch");
    SetUp();
    // A lever that unlocks it is enough.
    map_records_ +=
        "TDoor { name = \"Grate\"  x = 2  y = 2  locked = 1  key_id = 7 }\n"
        "TSchalter { name = \"Lever\"  x = 3  y = 3  art = \"button\""
        "  wirkung = \"DEACTIVATE|locked\"  ziel_name = \"Grate\" }\n";
    EXPECT_TRUE(check().empty());
    SetUp();
    files_["gegenstand.bif"] += "TKey { name = \"Spare Key\"  key_id = 2 }\n";
    expect_only("bifs/gegenstand.bif:7: ", "the key \"Spare Key\" (key_id 2) fits no locked door");
}

TEST_F(ContentCheck, LightsOfAReachWalkedOnEveryTurn) {
    files_["gegenstand.bif"] += "TLeuchte { name = \"Beacon\"  reichweite = 64 }\n";
    EXPECT_TRUE(check().empty()) << "64 is the largest reach shone by table";
    files_["gegenstand.bif"] += "TLeuchte { name = \"Sun\"  reichweite = 65 }\n";
    expect_only("bifs/gegenstand.bif:8: ", "the light \"Sun\" has reach 65: above 64");
}

TEST_F(ContentCheck, EffectTextsThatNameNoFieldOrDivideByZero) {
    files_["gegenstand.bif"] += "TTrank { name = \"Brew\"  wirkung = \"hp+2|helth+3'4\" }\n";
    expect_only("bifs/gegenstand.bif:7: ", "\"helth+3'4\" names no number field of the player");
    SetUp();
    files_["gegenstand.bif"] += "TTrank { name = \"Brew\"  wirkung = \"name+1\" }\n";
    expect_only("bifs/gegenstand.bif:7: ", "names no number field");
    SetUp();
    files_["gegenstand.bif"] += "TTrank { name = \"Brew\"  wirkung = \"dmg/0'5\" }\n";
    expect_only("bifs/gegenstand.bif:7: ", "\"dmg/0'5\" divides by zero");
    SetUp();
    map_records_ +=
        "TSchalter { name = \"Lever\"  x = 3  y = 3  art = \"button\""
        "  wirkung = \"ACTIVATE|opne\"  ziel_name = \"Door\" }\n";
    expect_only("bifs/karte2.map:13: ", "\"opne\" names no number field of TDoor");
    SetUp();
    map_records_ += "TSchalter { name = \"Lever\"  x = 3  y = 3  art = \"buton\" }\n";
    expect_only("bifs/karte2.map:13: ", "none of trigger, button and exit");
}

// The target is the rule's: the last match column by column, not the last in the file.
TEST_F(ContentCheck, ASwitchAimsWhereTheRuleActs) {
    files_["gegenstand.bif"] += "TLeuchte { name = \"Twin\" }\n";
    map_records_ +=
        "TDoor { name = \"Twin\"  x = 6  y = 1 }\n"
        "TLeuchte { name = \"Twin\"  x = 2  y = 1 }\n"
        "TSchalter { name = \"Lever\"  x = 3  y = 3  art = \"button\""
        "  wirkung = \"TOGGLE|open\"  ziel_name = \"Twin\" }\n";
    EXPECT_TRUE(check().empty()) << ::testing::PrintToString(check());
    SetUp();
    map_records_ +=
        "TDoor { name = \"Lamp\"  x = 1  y = 1 }\n"
        "TSchalter { name = \"Lever\"  x = 3  y = 3  art = \"button\""
        "  wirkung = \"TOGGLE|open\"  ziel_name = \"Lamp\"  ziel_y = 1 }\n";
    expect_only("bifs/karte2.map:14: ", "\"open\" names no number field of TLeuchte");
}

TEST_F(ContentCheck, AnExitBehindADoorNobodyCanOpen) {
    // Without the key in the pack the door needs a switch; a lever on the far side is no help.
    files_["player.bif"] = "TPlayer { name = \"P\"  x = 1  y = 2 }\n";
    map_records_ +=
        "TSchalter { name = \"Lever\"  x = 7  y = 3  art = \"button\""
        "  wirkung = \"DEACTIVATE|locked\"  ziel_name = \"Door\" }\n";
    std::vector<std::string> lines = check();
    ASSERT_EQ(lines.size(), 1u) << ::testing::PrintToString(lines);
    EXPECT_EQ(lines[0],
              "bifs/karte2.map:12: the exit \"Way Out\" at (7|2) cannot be reached from the start "
              "at (1|2) through doors the player can open");
    // The same lever on the near side opens the way.
    SetUp();
    files_["player.bif"] = "TPlayer { name = \"P\"  x = 1  y = 2 }\n";
    map_records_ +=
        "TSchalter { name = \"Lever\"  x = 3  y = 3  art = \"button\""
        "  wirkung = \"DEACTIVATE|locked\"  ziel_name = \"Door\" }\n";
    EXPECT_TRUE(check().empty()) << ::testing::PrintToString(check());
    // So does a teleport through a wall without a door.
    SetUp();
    grid_ = "9\n5\n111111111\n100010001\n100010001\n100010001\n111111111\n";
    files_["gegenstand.bif"] = "TLeuchte { name = \"Lamp\" }\n";
    files_["player.bif"] = "TPlayer { name = \"P\"  x = 1  y = 2 }\n";
    map_records_ = "TSchalter { name = \"Way Out\"  x = 7  y = 2  art = \"exit\" }\n";
    EXPECT_EQ(check().size(), 1u);
    map_records_ += "TTeleport { name = \"Gate\"  x = 1  y = 1  target_x = 6  target_y = 1 }\n";
    EXPECT_TRUE(check().empty()) << ::testing::PrintToString(check());
}

TEST_F(ContentCheck, FilesStartUpCannotUse) {
    files_["player.bif"] = "TKey { name = \"Key\" }\nTPlayer { name = \"P\"  x = 1  y = 2 }\n";
    expect_only("bifs/player.bif:1: ", "the file does not begin with a TPlayer record");
    SetUp();
    files_.erase("Tastatur.bif");
    fs::remove(dir_ / "bifs" / "Tastatur.bif");
    std::vector<std::string> lines = check();
    ASSERT_EQ(lines.size(), 2u) << ::testing::PrintToString(lines);
    EXPECT_NE(lines[0].find("bifs/Tastatur.bif:1: cannot open the file"), std::string::npos);
    EXPECT_EQ(lines[1], "bifs/Tastatur.bif:1: the file does not begin with a TTastatur record");
}

TEST_F(ContentCheck, MapRowsOfTheWrongLength) {
    grid_ = "9\n5\n111111111\n10001001\n1000000001\n100010001\n111111111\n";
    std::vector<std::string> lines = check();
    ASSERT_EQ(lines.size(), 2u) << ::testing::PrintToString(lines);
    EXPECT_EQ(lines[0], "bifs/karte2.map:4: row 1 has 8 tiles, but the map is 9 wide");
    EXPECT_EQ(lines[1], "bifs/karte2.map:5: row 2 has 10 tiles, but the map is 9 wide");
}

}  // namespace
}  // namespace grotmere
