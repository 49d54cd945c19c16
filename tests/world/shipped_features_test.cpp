// The doors, keys, switches and teleport of the shipped map, played through the real start-up
// and main loop with the shipped key layout. The monsters are sent away first: these tests are
// about the map's features, and a wandering rat must not decide them.
#include <gtest/gtest.h>

#include <algorithm>

#include "actors/player.hpp"
#include "shell/startup.hpp"
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
        tile(x, y).gegenstaende->for_each_of<TDoor>(
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
};

TEST_F(ShippedFeatures, TheOakDoorOpensClosesAndLocksWithTheStartingKey) {
    auto oak = door_at(14, 5);
    ASSERT_TRUE(oak);
    place(13, 5);
    EXPECT_TRUE(pass({hit(kRight)}).turn_taken);
    EXPECT_EQ(message_lines[0], "You open the Oak Door");
    pass({hit(kUse)});
    EXPECT_EQ(message_lines[0], "You close Oak Door");
    pass({hit(kUse)});
    EXPECT_EQ(message_lines[0], "You locked Oak Door with Iron Key");
    EXPECT_FALSE(pass({hit(kRight)}).turn_taken);
    EXPECT_EQ(message_lines[0], "LOCKED!");
}

TEST_F(ShippedFeatures, TheHiddenDoorIsFoundByTorchlightAndTheLeverOpensTheGate) {
    auto hidden = door_at(43, 12);
    auto gate = door_at(72, 20);
    ASSERT_TRUE(hidden && gate);
    place(44, 12);
    EXPECT_FALSE(pass({hit(kLeft)}).turn_taken);
    EXPECT_EQ(message_lines[0], "You cannot go there!");
    pass({hit(slot_key(slot_of("Torch")))});
    EXPECT_EQ(message_lines[0], "You light up a Torch.");
    for (int32_t look = 0; look < 40 && hidden->secret != 0; ++look)
        pass({hit(kLook)});
    EXPECT_TRUE(logged("You discovered a secret Door!"));
    pass({hit(kLeft)});
    EXPECT_EQ(message_lines[0], "You open the Hidden Door");
    for (int32_t step = 0; step < 6; ++step)
        pass({hit(kLeft)});
    pass({hit(kDown)});
    pass({hit(kDown)});
    ASSERT_EQ(player->x, 38);
    ASSERT_EQ(player->y, 14);
    EXPECT_EQ(message_lines[0], "There is a Rusty Lever here.");

    EXPECT_EQ(gate->locked, 1);
    ::testing::internal::CaptureStdout();
    EXPECT_TRUE(pass({hit(kUse)}).turn_taken);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "locked deactivated\n");
    EXPECT_EQ(message_lines[0], "You pull the lever. Far away, iron grinds on stone.");
    EXPECT_EQ(gate->open, 1);
    EXPECT_EQ(gate->locked, 0);
}

TEST_F(ShippedFeatures, ThePortalLeadsBackToTheStartingRoom) {
    place(41, 13);
    pass({hit(kLeft)});
    EXPECT_EQ(message_lines[0], "Zooom");
    EXPECT_EQ(player->x, 4);
    EXPECT_EQ(player->y, 3);
}

TEST_F(ShippedFeatures, ThePressurePlateLightsTheSconce) {
    std::shared_ptr<TLeuchte> sconce;
    tile(4, 18).gegenstaende->for_each_of<TLeuchte>(
        [&](std::shared_ptr<TLeuchte>& light) { sconce = light; });
    ASSERT_TRUE(sconce);
    EXPECT_EQ(sconce->brennt, 0);
    place(8, 15);
    pass({hit(kDown)});
    EXPECT_EQ(message_lines[0], "Click! A sconce flares up on the west wall.");
    EXPECT_EQ(sconce->brennt, 1);
    EXPECT_GT(tile(4, 18).lichtstaerke, 0);
}

}  // namespace
}  // namespace grotmere::testing
