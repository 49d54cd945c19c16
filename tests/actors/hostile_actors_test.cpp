// Monster spawns, potions and treasure driven by hostile data: counts near the integer limits,
// kinds that do not exist, effect texts of a million pieces, pieces on fields that are no
// numbers or that would move their drinker off the map, prices that buy nothing.
#include <gtest/gtest.h>

#include <chrono>

#include "actors/buff.hpp"
#include "actors/monster_spawn.hpp"
#include "actors/trank.hpp"
#include "actors/treasure.hpp"
#include "actors/world_passes.hpp"
#include "tests/actors/player_game.hpp"
#include "tests/records/definition_test_support.hpp"
#include "tests/support/simulator_run.hpp"
#include "tests/support/time_bound.hpp"

namespace grotmere::testing {
namespace {

double seconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

class HostileSpawns : public PlayerGame {
protected:
    void SetUp() override {
        PlayerGame::SetUp();
        const std::string kinds = "TGegner { name = Rat level = 1 }\n";
        read_definitions_from_bytes(*monster_prototypes, "monsters.bif",
                                    std::vector<char>(kinds.begin(), kinds.end()));
    }

    // Loads a 40 x 40 floor with the record section; returns standard error.
    std::string load(const std::string& records) {
        std::string text = "40\n40\n";
        for (int32_t y = 0; y < 40; ++y)
            text += std::string(40, '0') + "\n";
        const std::string file = dir.write("test.map", text + records);
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(load_map_file(file));
        ::testing::internal::GetCapturedStdout();
        return ::testing::internal::GetCapturedStderr();
    }
    std::string at_line(int32_t line) const {
        return dir.path("test.map") + ":" + std::to_string(line) + ": warning: ";
    }

    ScratchDir dir;
};

TEST_F(HostileSpawns, ARecordAndTheWholeMapSpawnABoundedNumber) {
    const auto start = std::chrono::steady_clock::now();
    std::string err = load("TGegner { name = Rat anzahl = 2147483647 }\n");
    EXPECT_EQ(monsters->count(), kMostSpawnsPerRecord);
    EXPECT_NE(err.find(at_line(43) + "the spawn of \"Rat\" asks for 2147483647 monsters; only " +
                       std::to_string(kMostSpawnsPerRecord) + " are made"),
              std::string::npos)
        << err;

    monsters->clear();
    std::string many;
    for (int32_t i = 0; i < 12; ++i)
        many += "TGegner { name = Rat anzahl = 1000 }\n";
    err = load(many);
    EXPECT_EQ(monsters->count(), kMostMonstersPerMap);
    EXPECT_NE(
        err.find(at_line(53) + "the map already holds " + std::to_string(kMostMonstersPerMap) +
                 " monsters; this spawn and every later one is left out"),
        std::string::npos)
        << err;
    EXPECT_EQ(err.find(at_line(54)), std::string::npos) << "said once";
    EXPECT_LT(seconds_since(start), testing::seconds_allowed(10.0));
}

TEST_F(HostileSpawns, AKindThatIsNotThereIsToldOncePerRecord) {
    std::string err = load(
        "TGegner { name = Nobody anzahl = 1000000 }\n"
        "TGegner { level = 7 abweichung = 2 anzahl = 3 }\n"
        "TGegner { level = 1 }\n");
    EXPECT_EQ(monsters->count(), 1) << "the level-1 spawn finds the rat";
    EXPECT_NE(err.find(at_line(43) + "the spawn of \"Nobody\" at (-1|-1) finds no monster "
                                     "prototype of that name; no monster is made\n"),
              std::string::npos)
        << err;
    EXPECT_NE(err.find(at_line(44) + "the spawn of a monster of level 7 at (-1|-1) finds no "
                                     "monster prototype of a level from 5 to 9"),
              std::string::npos)
        << err;
    EXPECT_EQ(load_problems.size(), 3U) << "and the cut of the million: " << err;
}

using HostilePotions = PlayerGame;

void drink(const std::string& wirkung, const RecordRef& target) {
    auto potion = new_record<TTrank>();
    potion->wirkung = wirkung;
    potion->parse_wirkung(target);
}

TEST_F(HostilePotions, APieceOnAFieldThatIsNoNumberIsSkipped) {
    player->name = "Hero";
    drink("name+5|buffs-8#3|waffe+1'4|hp+1", player);
    EXPECT_EQ(player->name, "Hero");
    ASSERT_TRUE(player->buffs);
    EXPECT_EQ(player->buffs->count(), 0);
    EXPECT_EQ(player->hp, 31) << "the number piece still acts";
}

TEST_F(HostilePotions, APieceNeverMovesItsDrinkerOffTheMap) {
    place(2, 2);
    drink("x+100|y-3|x*-1|y/0", player);
    EXPECT_EQ(player->x, 2);
    EXPECT_EQ(player->y, 2);
    drink("x+2|y-1", player);
    EXPECT_EQ(player->x, 4) << "a step that stays on the map is taken";
    EXPECT_EQ(player->y, 1);

    auto rat = monster("Rat", 1, 1, 10);
    rat->buffs = new_list();
    drink("x+1#5", rat);
    for (int32_t turn = 0; turn < 5; ++turn)
        TBuff::update(0);
    EXPECT_EQ(rat->x, 4) << "three steps fit on the 5 x 5 map, the last two are left out";
    EXPECT_EQ(rat->y, 1);
}

TEST_F(HostilePotions, HugeEffectTextsTakeTimeLinearInTheirLength) {
    std::string pieces;
    for (int32_t i = 0; i < 200000; ++i)
        pieces += "luck+1|";
    const int32_t luck = player->luck;
    const auto start = std::chrono::steady_clock::now();
    drink(pieces, player);
    drink(std::string(1 << 20, '/'), player);
    drink(std::string(1 << 20, '|'), player);
    EXPECT_LT(seconds_since(start), testing::seconds_allowed(10.0));
    EXPECT_EQ(player->luck, luck + 200000);
}

class HostileTreasure : public PlayerGame {};

// A budget that no prototype fits takes its 30 tries and turns into gold, however large it is
// and however many prototypes there are.
TEST_F(HostileTreasure, PricesThatBuyNothingCostThirtyTries) {
    std::string text;
    for (int32_t i = 0; i < 500; ++i)
        text += "TGegenstand { name = Junk" + std::to_string(i) + " preis = " + std::to_string(-i) +
                " }\n";
    read_definitions_from_bytes(*item_prototypes, "items.bif",
                                std::vector<char>(text.begin(), text.end()));
    const auto start = std::chrono::steady_clock::now();
    for (int32_t i = 0; i < 2000; ++i)
        TTreasure::create(1, 1, 0, 2147483647);
    EXPECT_LT(seconds_since(start), testing::seconds_allowed(10.0));
    auto heap = std::static_pointer_cast<TTreasure>(treasures->first());
    EXPECT_EQ(heap->gold, 2147483647 / 8);
    EXPECT_TRUE(heap->drop->empty());
}

}  // namespace
// Data that took something from the player without a word: Escape given to a command, a starting
// stack past 32 bits. The start warns and the content check reports, each naming the file.
class HostileStart : public SimulatorRun {
protected:
    // The shipped data folder with one file's text changed.
    std::string folder_with(const std::string& file, const std::string& from,
                            const std::string& to) {
        fs::create_directories(dir_ / "game");
        fs::copy(fs::path(GROTMERE_SOURCE_DIR) / "bifs", dir_ / "game" / "bifs");
        std::ifstream in(dir_ / "game" / "bifs" / file, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        text.replace(text.find(from), from.size(), to);
        std::ofstream(dir_ / "game" / "bifs" / file, std::ios::binary) << text;
        return " --dir " + (dir_ / "game").string();
    }
};

TEST_F(HostileStart, EscapeBoundToACommandAndAStackPastThirtyTwoBitsAreTold) {
    std::string game = folder_with("Tastatur.bif", "wait = 87", "wait = 27");
    const std::string escape = "Escape is bound to \"wait\", so it no longer ends the game";
    EXPECT_NE(run_for_errors(game + " --passes 1").out.find(escape), std::string::npos);
    EXPECT_NE(run(game + " --check").out.find("bifs/Tastatur.bif:6: " + escape), std::string::npos);
    TearDown();
    SetUp();
    game = folder_with("player.bif", "anzahl = 24",
                       "anzahl = 24 } TMunition { name = Arrow anzahl = 2147483640");
    const std::string stack =
        "the starting stack of \"Arrow\" adds up to 2147483664, beyond 32 bits";
    EXPECT_NE(run_for_errors(game + " --passes 1").out.find(stack), std::string::npos);
    EXPECT_NE(run(game + " --check").out.find("bifs/player.bif:29: " + stack), std::string::npos);
}

}  // namespace grotmere::testing
