// Explore opens the doors on its way the rules' way, by walking into them, and stops before a
// locked one it has no key for, saying so; with the key in the pack it unlocks it first.
#include <gtest/gtest.h>

#include "aids/aid_keys.hpp"
#include "aids/aid_walk.hpp"
#include "tests/actors/player_game.hpp"
#include "world/door.hpp"
#include "world/kamera.hpp"
#include "world/key.hpp"
#include "world/world_state.hpp"

namespace grotmere::testing {
namespace {

class ExploreDoors : public PlayerGame {
protected:
    void SetUp() override {
        PlayerGame::SetUp();
        set_window_aids(WindowAids{.on = true});
    }
};

// Passes without a key, until the walk is over.
void walk_until_done(int32_t most = 200) {
    for (int32_t i = 0; i < most && walking() != WalkKind::None; ++i)
        run_pass();
}

std::shared_ptr<TDoor> door(int32_t locked, int32_t key_id = 0) {
    auto made = new_record<TDoor>();
    made->name = locked ? "Iron Door" : "Oak Door";
    made->locked = locked;
    made->key_id = key_id;
    return made;
}

TEST_F(ExploreDoors, ExploreOpensADoorAndStopsBeforeALockedOneUntilItsKeyIsCarried) {
    map({"11111111111111111111", "10000000000000000001", "11111111111111111111"});
    kamera = new_record<TKamera>();
    kamera->set_viewport(1, 1, 402, 245);
    place(1, 1);
    auto oak = put(3, 1, door(0));
    auto iron = put(7, 1, door(1, 7));
    pass({hit(kWait)});
    pass({hit(kExploreKey)});
    walk_until_done();
    EXPECT_EQ(oak->open, 1) << "walked into, the rules' way to open it";
    EXPECT_EQ(iron->locked, 1);
    EXPECT_LT(player->x, 7);
    EXPECT_EQ(walk_said(), "Explored all that is open; 1 door is locked.");

    auto key = new_record<TKey>();
    key->name = "Iron Key";
    key->key_id = 7;
    (*player->inventory)[0] = key;
    pass({hit(kExploreKey)});
    walk_until_done();
    EXPECT_EQ(iron->locked, 0) << "unlocked with the use key";
    EXPECT_EQ(iron->open, 1);
    EXPECT_EQ(walk_said(), "Explored everything reachable.");
    EXPECT_GE(player->x, 8) << "and on beyond it";
}

}  // namespace
}  // namespace grotmere::testing
