// The doors, keys, switches, teleports and the exit of the shipped dungeon, played through the
// real start-up and main loop with the shipped key layout. The monsters are sent away first: these
// tests are about the map's features, and a wandering rat must not decide them.
#include <gtest/gtest.h>

#include <algorithm>

#include "actors/player.hpp"
#include "run/main_loop.hpp"
#include "run/startup.hpp"
#include "tests/records/definition_test_support.hpp"
#include "tests/world/world_test_support.hpp"
#include "world/door.hpp"
#include "world/gegenstand.hpp"
#include "world/leuchte.hpp"

namespace grotmere::testing {
namespace {

constexpr int32_t kLeft = 37;
constexpr int32_t kRight = 39;
constexpr int32_t kDown = 40;
constexpr int32_t kUp = 38;
constexpr int32_t kLook = 'L';
constexpr int32_t kUse = 'U';

class ShippedFeatures : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        WorkingDirectory inside(GROTMERE_SOURCE_DIR);
        ::testing::internal::CaptureStdout();
        ASSERT_FALSE(start_game(StartupOptions{1}));
        ::testing::internal::GetCapturedStdout();
        monsters->clear();
        // The first pass works out which tiles closed doors block.
        pass();
    }

    static void place(int32_t x, int32_t y) {
        player->x = x;
        player->y = y;
    }
    static bool logged(const std::string& line) {
        return std::find(message_lines.begin(), message_lines.end(), line) != message_lines.end();
    }
    static std::shared_ptr<TDoor> door_at(int32_t x, int32_t y) {
        std::shared_ptr<TDoor> found;
        tile(x, y).gegenstaende()->for_each_of<TDoor>(
            [&](std::shared_ptr<TDoor>& door) { found = door; });
        return found;
    }
    static int32_t slot_of(const std::string& name) {
        for (int32_t k = 1; k <= kInventorySlots; ++k) {
            const auto& item = (*player->inventory)[static_cast<size_t>(k - 1)];
            if (item && item->name == name) return k;
        }
        return 0;
    }
    static int32_t slot_key(int32_t slot) { return slot == 10 ? '0' : '0' + slot; }
    static std::shared_ptr<TLeuchte> light_at(int32_t x, int32_t y) {
        std::shared_ptr<TLeuchte> found;
        tile(x, y).gegenstaende()->for_each_of<TLeuchte>(
            [&](std::shared_ptr<TLeuchte>& light) { found = light; });
        return found;
    }
};

TEST_F(ShippedFeatures, TheIronDoorIsLockedUntilTheKeyOfTheStartingPackUnlocksIt) {
    auto iron = door_at(54, 22);
    ASSERT_TRUE(iron);
    place(53, 22);
    EXPECT_FALSE(pass({hit(kRight)}).turn_taken);
    EXPECT_EQ(message_lines[0], "LOCKED!");
    EXPECT_TRUE(pass({hit(kUse)}).turn_taken);
    EXPECT_EQ(message_lines[0], "You unlocked Iron Door with Iron Key");
    pass({hit(kRight)});
    EXPECT_EQ(message_lines[0], "You open the Iron Door");
    pass({hit(kRight)});
    EXPECT_EQ(player->x, 54) << "through the open door";
}

TEST_F(ShippedFeatures, TheBrassDoorFitsTheSecondKey) {
    auto brass = door_at(82, 27);
    ASSERT_TRUE(brass);
    place(82, 26);
    EXPECT_FALSE(pass({hit(kDown)}).turn_taken);
    EXPECT_EQ(message_lines[0], "LOCKED!");
    pass({hit(kUse)});
    EXPECT_EQ(message_lines[0], "You unlocked Brass Door with Brass Key");
    EXPECT_EQ(brass->locked, 0);
}

TEST_F(ShippedFeatures, AHiddenDoorIsFoundByTorchlightAndLeadsToTheVault) {
    auto hidden = door_at(10, 44);
    ASSERT_TRUE(hidden);
    place(10, 43);
    EXPECT_FALSE(pass({hit(kDown)}).turn_taken);
    EXPECT_EQ(message_lines[0], "You cannot go there!");
    pass({hit(slot_key(slot_of("Torch")))});
    EXPECT_EQ(message_lines[0], "You light up a Torch.");
    for (int32_t look = 0; look < 40 && hidden->secret != 0; ++look)
        pass({hit(kLook)});
    EXPECT_TRUE(logged("You discovered a secret Door!"));
    pass({hit(kDown)});
    EXPECT_EQ(message_lines[0], "You open the Hidden Door");
    EXPECT_TRUE(door_at(102, 44) && door_at(102, 44)->secret) << "the second one stays hidden";
}

TEST_F(ShippedFeatures, TheStartingRoomsPlateNamesTheGoalAndLightsTheCorridor) {
    auto sconce = light_at(18, 6);
    ASSERT_TRUE(sconce);
    EXPECT_EQ(sconce->brennt, 0);
    place(13, 6);
    pass({hit(kRight)});
    EXPECT_NE(message_lines[0].find("BEYOND THE BLACK GATE"), std::string::npos)
        << message_lines[0];
    EXPECT_EQ(sconce->brennt, 1);
    EXPECT_GT(tile(18, 6).lichtstaerke, 0);
}

TEST_F(ShippedFeatures, PlatesOpenThePortcullisAndDouseTheLampOnTheBridge) {
    auto portcullis = door_at(59, 6);
    ASSERT_TRUE(portcullis);
    EXPECT_EQ(portcullis->locked, 1);
    place(49, 6);
    ::testing::internal::CaptureStdout();
    pass({hit(kRight)});
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "locked deactivated\n");
    EXPECT_EQ(message_lines[0], "Click! Chains rattle and the portcullis to the east rises.");
    EXPECT_EQ(portcullis->open, 1);
    EXPECT_EQ(portcullis->locked, 0);

    auto lamp = light_at(44, 38);
    ASSERT_TRUE(lamp);
    EXPECT_EQ(lamp->brennt, 1);
    place(44, 39);
    ::testing::internal::CaptureStdout();
    pass({hit(kRight)});
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "brennt deactivated\n");
    EXPECT_EQ(message_lines[0], "A cold gust rises from below and snuffs out the lamp!");
    EXPECT_EQ(lamp->brennt, 0);
}

TEST_F(ShippedFeatures, TheChapelLeverOpensTheSealedDoorBackToTheEastTower) {
    auto sealed = door_at(103, 11);
    ASSERT_TRUE(sealed);
    place(105, 19);
    pass({hit(kRight)});
    EXPECT_EQ(message_lines[0], "There is a Rusty Lever here.");
    ::testing::internal::CaptureStdout();
    EXPECT_TRUE(pass({hit(kUse)}).turn_taken);
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(message_lines[0], "You pull the lever. The sealed door to the north grinds open.");
    EXPECT_EQ(sealed->open, 1);
    EXPECT_EQ(sealed->locked, 0);
}

TEST_F(ShippedFeatures, ThePortalPairJoinsTheWellRoomAndTheEastTower) {
    place(6, 19);
    pass({hit(kLeft)});
    EXPECT_EQ(message_lines[0], "Zooom");
    EXPECT_EQ(player->x, 106);
    EXPECT_EQ(player->y, 4);
    pass({hit(kRight)});
    EXPECT_EQ(message_lines[0], "Zooom");
    EXPECT_EQ(player->x, 6);
    EXPECT_EQ(player->y, 19);
}

TEST_F(ShippedFeatures, TheLeverPastTheGuardianOpensTheBlackGateToTheStair) {
    auto gate = door_at(87, 55);
    ASSERT_TRUE(gate);
    place(86, 55);
    EXPECT_FALSE(pass({hit(kRight)}).turn_taken);
    EXPECT_EQ(message_lines[0], "LOCKED!") << "no key of the pack fits the Black Gate";
    place(64, 50);
    pass({hit(kDown)});
    EXPECT_NE(message_lines[0].find("LEVER LIES IN THE PEN"), std::string::npos)
        << "the plate at the lair's entrance says where the lever is";
    place(60, 58);
    pass({hit(kDown)});
    ::testing::internal::CaptureStdout();
    pass({hit(kUse)});
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(gate->open, 1);
    EXPECT_EQ(gate->locked, 0);
    place(86, 55);
    for (int32_t step = 0; step < 8 && player->x < 93; ++step)
        EXPECT_FALSE(pass({hit(kRight)}).end);
    PassResult last = pass({hit(kRight)});
    EXPECT_EQ(last.end, GameEnd::Escaped);
    EXPECT_EQ(backend.notices().back(),
              "You climb the worn stair into the daylight. You have escaped Grotmere!");
}

}  // namespace
}  // namespace grotmere::testing
