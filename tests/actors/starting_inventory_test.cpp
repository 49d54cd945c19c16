// The starting inventory: the item records after the player in the player file, made from the
// shipped item prototypes at start-up.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "actors/munition.hpp"
#include "actors/player.hpp"
#include "run/startup.hpp"
#include "tests/records/definition_test_support.hpp"
#include "tests/support/headless_game.hpp"
#include "world/door.hpp"
#include "world/gegenstand.hpp"
#include "world/key.hpp"
#include "world/world_state.hpp"

namespace grotmere::testing {
namespace {

class StartingInventory : public HeadlessGame {
protected:
    // Starts the game on the shipped data with `player_file` as bifs/player.bif.
    void start_with(const std::string& player_file) {
        std::filesystem::copy(std::filesystem::path(GROTMERE_SOURCE_DIR) / "bifs",
                              dir.root() / "bifs", std::filesystem::copy_options::recursive);
        dir.write("bifs/player.bif", player_file);
        WorkingDirectory inside(dir.root());
        ::testing::internal::CaptureStdout();
        ASSERT_FALSE(start_game(StartupOptions{1}));
        ::testing::internal::GetCapturedStdout();
    }
    static std::string slot(int32_t k) {
        const auto& item = (*player->inventory)[static_cast<size_t>(k - 1)];
        return item ? item->name + "(" + std::to_string(item->anzahl) + ")" : "";
    }

    ScratchDir dir;
};

TEST_F(StartingInventory, CountsComeFromTheRecordUnlessItSetsZero) {
    start_with(R"(
TPlayer { name = "Tester"  hp = 10  hpmax = 10  level = 1  x = 5  y = 5 }
TWaffe { name = "Dagger" }
TMunition { name = "Arrow" }
TMunition { name = "Bone Arrow"  anzahl = 0 }
TTrank { name = "Healing Potion"  anzahl = 3 }
TGegenstand { name = "Unicorn Horn" }
TPanzer { name = "Arrow"  anzahl = 2  rs = 9 }
)");
    EXPECT_EQ(slot(1), "Dagger(1)");
    EXPECT_EQ(slot(2), "Arrow(3)") << "a record without anzahl gives 1, not the prototype's 12";
    EXPECT_EQ(slot(3), "Bone Arrow(8)") << "an explicit 0 keeps the prototype's count";
    EXPECT_EQ(slot(4), "Healing Potion(3)");
    EXPECT_EQ(slot(5), "") << "a name without a prototype adds nothing";
    EXPECT_TRUE(std::dynamic_pointer_cast<TMunition>((*player->inventory)[1]))
        << "the kind comes from the prototype, not the record";
    EXPECT_EQ(message_lines[0], "You pick up 2 Arrows.");
    EXPECT_EQ(message_lines[1], "You pick up 3 Healing Potions.");
    EXPECT_EQ(message_lines[2], "You pick up 8 Bone Arrows.");
    EXPECT_EQ(message_lines[3], "You pick up a Arrow");
    EXPECT_EQ(message_lines[4], "You pick up a Dagger");
    EXPECT_EQ(message_lines[5], "");
}

// The shipped pack: what a new player sets out with, and the keys fit the locked doors on the way.
TEST_F(StartingInventory, TheShippedPackHoldsGearAndTheKeysOfTheLockedDoors) {
    WorkingDirectory inside(GROTMERE_SOURCE_DIR);
    ::testing::internal::CaptureStdout();
    ASSERT_FALSE(start_game(StartupOptions{1}));
    ::testing::internal::GetCapturedStdout();
    const std::vector<std::string> pack = {"Short Sword(1)",    "Short Bow(1)", "Arrow(24)",
                                           "Healing Potion(2)", "Torch(1)",     "Leather Jerkin(1)",
                                           "Iron Key(1)",       "Brass Key(1)"};
    for (size_t k = 0; k < pack.size(); ++k)
        EXPECT_EQ(slot(static_cast<int32_t>(k) + 1), pack[k]);
    std::set<int32_t> locked;
    map_records->for_each_of<TDoor>([&](std::shared_ptr<TDoor>& door) {
        if (door->locked) locked.insert(door->key_id);
    });
    for (int32_t k : {7, 8}) {
        auto key =
            std::dynamic_pointer_cast<TKey>((*player->inventory)[static_cast<size_t>(k - 1)]);
        ASSERT_TRUE(key);
        EXPECT_TRUE(locked.count(key->key_id)) << key->name << " fits a locked door";
    }
}

}  // namespace
}  // namespace grotmere::testing
