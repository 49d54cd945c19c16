// Doors through the turn: the door update, sight through a door opened this turn, keys by
// number; and the map a teleport leads into.
#include <gtest/gtest.h>

#include "tests/actors/player_game.hpp"
#include "world/door.hpp"
#include "world/kamera.hpp"
#include "world/key.hpp"
#include "world/teleport.hpp"
#include "world/tile_writes.hpp"

namespace grotmere::testing {
namespace {

std::shared_ptr<TDoor> door(const std::string& name, int32_t open, int32_t locked = 0) {
    auto made = new_record<TDoor>();
    made->name = name;
    made->open = open;
    made->locked = locked;
    return made;
}

using Doors = PlayerGame;
using Teleports = PlayerGame;

TEST_F(Doors, TheLastDoorOfATileDecidesItsPassage) {
    put(0, 0, door("Open", 1));
    put(1, 0, door("Closed", 0));
    put(2, 0, door("Closed", 0));
    put(2, 0, door("Open", 1));
    put(3, 0, door("Open", 1));
    put(3, 0, door("Closed", 0));
    write_tile(1, 0)->begehbar = 1;
    TDoor::update();
    EXPECT_EQ(tile(0, 0).begehbar, 1);
    EXPECT_EQ(tile(1, 0).begehbar, 0);
    EXPECT_EQ(tile(2, 0).begehbar, 1);
    EXPECT_EQ(tile(3, 0).begehbar, 0);
}

TEST_F(Doors, ADoorOpenedThisTurnNoLongerBlocksTheView) {
    map({"11111", "10001", "11111"});
    kamera = new_record<TKamera>();
    kamera->set_viewport(1, 1, 402, 245);
    put(2, 1, door("Oak Door", 0));
    pass({hit(kWait)});
    EXPECT_EQ(tile(3, 1).sichtbar, 0) << "the closed door blocks the view";
    EXPECT_TRUE(pass({hit(kRight)}).turn_taken);
    EXPECT_EQ(newest(), "You open the Oak Door");
    EXPECT_EQ(tile(3, 1).sichtbar, 1);
}

TEST_F(Doors, KeysFitByNumberAndTwoZerosMatch) {
    auto seven = put(2, 1, door("Vault", 0, 1));
    seven->key_id = 7;
    auto key = new_record<TKey>();
    key->name = "Bent Key";
    key->key_id = 6;
    (*player->inventory)[0] = key;
    EXPECT_FALSE(pass({hit(kUse)}).turn_taken);
    EXPECT_EQ(seven->locked, 1);
    key->key_id = 7;
    EXPECT_TRUE(pass({hit(kUse)}).turn_taken);
    EXPECT_EQ(newest(), "You unlocked Vault with Bent Key");

    seven->key_id = 0;
    seven->locked = 1;
    key->key_id = 0;
    pass({hit(kUse)});
    EXPECT_EQ(seven->locked, 0);
}

TEST_F(Teleports, LeadIntoTheMapTheyWereMadeInAndNowhereElse) {
    current_map = "bifs/here.map";
    auto here = new_record<TTeleport>();
    here->target_x = 4;
    current_map = "bifs/elsewhere.map";
    auto rat = monster("Rat", 3, 3, 4);
    here->move(*rat);
    EXPECT_EQ(rat->x, 3) << "the map it leads to is not loaded";
    here->target_map = "bifs/elsewhere.map";
    here->move(*rat);
    EXPECT_EQ(rat->x, 4);
}

}  // namespace
}  // namespace grotmere::testing
