// The action routine's key order, walking, doors, the use key and the ranged weapon's mode.
#include <gtest/gtest.h>

#include "actors/geschoss.hpp"
#include "actors/waffe.hpp"
#include "tests/actors/player_game.hpp"
#include "world/door.hpp"
#include "world/key.hpp"
#include "world/schalter.hpp"

namespace grotmere::testing {
namespace {

using KeyOrder = PlayerGame;
using Walking = PlayerGame;
using UseKey = PlayerGame;
using RangedWeapon = PlayerGame;

std::shared_ptr<TDoor> door(int32_t open, int32_t locked, int32_t key_id = 0) {
    auto made = new_record<TDoor>();
    made->name = "Door";
    made->open = open;
    made->locked = locked;
    made->key_id = key_id;
    return made;
}

template <class T>
std::shared_ptr<T> carry(int32_t slot, const std::string& name) {
    auto item = new_record<T>();
    item->name = name;
    (*player->inventory)[static_cast<size_t>(slot - 1)] = item;
    return item;
}

TEST_F(KeyOrder, ABlockedKeyLetsTheNextKeyOfThePassAct) {
    map({"000", "010", "000"});
    place(1, 0);
    EXPECT_TRUE(pass({hit(kDown), hit(kRight)}).turn_taken);
    EXPECT_EQ(player->x, 2);
    EXPECT_EQ(log(), (std::vector<std::string>{"You move.", "You cannot go there!"}));
}

TEST_F(KeyOrder, AKeyNotReachedKeepsItsPressForALaterPass) {
    EXPECT_TRUE(pass({hit(kWait), hit(kRight)}).turn_taken);
    EXPECT_EQ(log(), (std::vector<std::string>{"You move."}));
    EXPECT_TRUE(pass().turn_taken) << "the wait key is still pending";
    EXPECT_EQ(newest(), "You wait a little...");
    EXPECT_FALSE(pass().turn_taken);
}

TEST_F(KeyOrder, AnEndingStepThatTakesNoTurnStillHidesTheLaterKeys) {
    put(2, 1, door(0, 1));
    EXPECT_FALSE(pass({hit(kRight), hit(kWait)}).turn_taken);
    EXPECT_EQ(log(), (std::vector<std::string>{"LOCKED!"}));
    EXPECT_TRUE(pass().turn_taken);
}

TEST_F(KeyOrder, EscapeBoundToACommandIsTakenByIt) {
    bindings->wait = 27;
    PassResult result = pass({hit(27)});
    EXPECT_TRUE(result.turn_taken);
    EXPECT_FALSE(result.end) << "the command's test consumed the hit";
}

TEST_F(KeyOrder, TheFirstOfTwoCommandsOnOneKeyTakesTheHit) {
    bindings->wait = kLook;
    EXPECT_FALSE(pass({hit(kLook)}).turn_taken);
    EXPECT_EQ(log(), (std::vector<std::string>{"There is nothing special around."}));
}

TEST_F(KeyOrder, GenericShiftAndCodesOutsideTheRangeNeverFire) {
    bindings->wait = 16;
    bindings->look = 300;
    EXPECT_FALSE(pass({hit(kLeftShift), hit(161), hit(44)}).turn_taken);
    EXPECT_TRUE(log().empty());
}

TEST_F(KeyOrder, TheLastSlotKeyWinsAndAllAreConsumed) {
    carry<TGegenstand>(7, "Stone");
    EXPECT_TRUE(pass({hit(slot_key(7)), hit(slot_key(3))}).turn_taken) << "slot 7 holds an item";
    carry<TGegenstand>(3, "Stone");
    (*player->inventory)[6] = nullptr;
    EXPECT_FALSE(pass({hit(slot_key(7)), hit(slot_key(3))}).turn_taken);
    EXPECT_TRUE(pass({hit(slot_key(3)), hit(slot_key(10))}).turn_taken)
        << "slot 10 is tested first, so slot 3 wins";
    EXPECT_FALSE(pass().turn_taken) << "no press was left pending";
}

TEST_F(KeyOrder, GetTakesATurnUnlessTheDropKeyIsHeld) {
    EXPECT_TRUE(pass({hit(kGet)}).turn_taken);
    EXPECT_TRUE(log().empty());
    EXPECT_FALSE(pass({press(kLeftShift), hit(kGet)}).turn_taken);
    EXPECT_TRUE(pass({release(kLeftShift), hit(kGet), hit(kWait)}).turn_taken);
    EXPECT_TRUE(pass().turn_taken) << "the wait press waited behind the get";
}

TEST_F(KeyOrder, LookAndTheTogglesTakeNoTurn) {
    EXPECT_FALSE(pass({hit(kLook), hit(kToggleInv), hit(kToggleWorn)}).turn_taken);
    EXPECT_EQ(player->inv_visible, 0);
    EXPECT_EQ(player->wear_visible, 0);
    EXPECT_TRUE(pass({hit(kLook), hit(kWait), hit(kToggleInv)}).turn_taken);
    EXPECT_EQ(player->inv_visible, 0) << "the wait ended the call before the toggle";
    EXPECT_EQ(log(),
              (std::vector<std::string>{"You wait a little...", "There is nothing special around.",
                                        "There is nothing special around."}));
}

TEST_F(Walking, WallsAndTheMapEdge) {
    map({"010", "000"});
    place(0, 0);
    EXPECT_FALSE(pass({hit(kRight)}).turn_taken);
    EXPECT_EQ(newest(), "You cannot go there!");
    EXPECT_FALSE(pass({hit(kLeft)}).turn_taken);
    EXPECT_FALSE(pass({hit(kUp)}).turn_taken);
    EXPECT_EQ(log().size(), 1u) << "the map edge says nothing";
    EXPECT_TRUE(pass({hit(kDown)}).turn_taken);
    EXPECT_EQ(player->y, 1);
}

TEST_F(Walking, DoorsOpenLockedAndHidden) {
    auto closed = put(2, 1, door(0, 0));
    closed->name = "Oak Door";
    EXPECT_TRUE(pass({hit(kRight)}).turn_taken);
    EXPECT_EQ(newest(), "You open the Oak Door");
    EXPECT_EQ(closed->open, 1);
    EXPECT_EQ(player->x, 1) << "opening does not move the player";
    EXPECT_TRUE(pass({hit(kRight)}).turn_taken);
    EXPECT_EQ(player->x, 2);

    place(1, 1);
    put(1, 2, door(0, 0))->secret = 1;
    put(1, 2, door(0, 1));
    EXPECT_FALSE(pass({hit(kDown)}).turn_taken);
    EXPECT_EQ(newest(), "LOCKED!") << "the first visible door of the tile counts";

    auto hidden = put(0, 1, door(0, 0));
    hidden->secret = 1;
    EXPECT_FALSE(pass({hit(kLeft)}).turn_taken);
    EXPECT_EQ(newest(), "You cannot go there!");
    EXPECT_EQ(hidden->open, 0);
}

TEST_F(Walking, IntoAMonster) {
    auto rat = monster("Rat", 2, 1, 5);
    wield("Short Bow", 2, 5, "-Arrow-");
    EXPECT_FALSE(pass({hit(kRight)}).turn_taken) << "a ranged weapon does nothing at arm's length";
    EXPECT_TRUE(log().empty());
    player->waffe = nullptr;
    EXPECT_TRUE(pass({hit(kRight)}).turn_taken);
    EXPECT_EQ(player->x, 1) << "the player never walks onto a monster";
}

TEST_F(UseKey, AFittingKeyClosesLocksAndUnlocks) {
    auto oak = put(2, 2, door(1, 0, 7));
    carry<TKey>(2, "Brass Key")->key_id = 5;
    carry<TKey>(4, "Iron Key")->key_id = 7;
    const char* expected[] = {"You close Door", "You locked Door with Iron Key",
                              "You unlocked Door with Iron Key", "You locked Door with Iron Key"};
    for (const char* message : expected) {
        EXPECT_TRUE(pass({hit(kUse)}).turn_taken);
        EXPECT_EQ(newest(), message);
        EXPECT_EQ(player->usemode, 1);
    }
    EXPECT_EQ(oak->locked, 1);
    EXPECT_EQ(oak->open, 0);
}

TEST_F(UseKey, WithoutAKeyOnlyOpenDoorsClose) {
    auto closed = put(0, 0, door(0, 0));
    auto open = put(2, 2, door(1, 0));
    auto distant = put(3, 3, door(1, 0));
    player->usemode = 1;
    EXPECT_TRUE(pass({hit(kUse)}).turn_taken);
    EXPECT_EQ(open->open, 0);
    EXPECT_EQ(distant->open, 1);
    EXPECT_FALSE(pass({hit(kUse)}).turn_taken);
    EXPECT_EQ(player->usemode, 1) << "a use that found nothing leaves usemode";
    EXPECT_EQ(closed->locked, 0);
    pass();
    EXPECT_EQ(player->usemode, 0);
}

TEST_F(UseKey, TheButtonUnderThePlayerTakesTheTurnBeforeDoors) {
    auto open = put(1, 2, door(1, 0));
    auto button = put(1, 1, new_record<TSchalter>());
    button->art = "BuTTon";
    EXPECT_TRUE(pass({hit(kUse)}).turn_taken);
    EXPECT_EQ(player->usemode, 1);
    EXPECT_EQ(open->open, 1);
}

TEST_F(RangedWeapon, ReadyTogglesAttackModeOnlyWithARangedWeapon) {
    EXPECT_FALSE(pass({hit(kReady)}).turn_taken);
    wield("Short Bow", 2, 5, "-Arrow-");
    EXPECT_TRUE(pass({hit(kReady)}).turn_taken);
    EXPECT_EQ(newest(), "You ready your Short Bow for attack");
    EXPECT_EQ(player->attackmode, 1);
    EXPECT_TRUE(pass({hit(kReady)}).turn_taken);
    EXPECT_EQ(newest(), "You prepare to move.");

    player->attackmode = 1;
    wield("Short Sword", 2, 0, "-Arrow-");
    world_changed_outside_passes();
    pass();
    EXPECT_EQ(player->attackmode, 0) << "a melee weapon ends attack mode";
}

TEST_F(RangedWeapon, AttackModeAimsInsteadOfWalking) {
    wield("Short Bow", 2, 5, "-Arrow-");
    player->attackmode = 1;
    EXPECT_FALSE(pass({hit(kRight)}).turn_taken);
    EXPECT_EQ(newest(), "Out of Ammo!");
    EXPECT_EQ(player->x, 1);
    monster("Rat", 0, 0, 5);
    carry<TGegenstand>(1, "Arrow");
    EXPECT_FALSE(pass({hit(kLeft), hit(kDown)}).turn_taken);
    EXPECT_EQ(log()[0], "You are in melee!");
    EXPECT_EQ(log()[1], "You are in melee!");

    player->waffe = nullptr;
    EXPECT_TRUE(pass({hit(kRight)}).turn_taken) << "attack mode without a weapon walks";
    EXPECT_EQ(player->x, 2);
}

TEST_F(RangedWeapon, AmmunitionIsFoundByHyphenatedName) {
    carry<TGegenstand>(2, "Arrows");
    carry<TGegenstand>(4, "arrow");
    EXPECT_EQ(player->in_inventory("-Arrow-"), -1);
    carry<TGegenstand>(9, "Arrow");
    EXPECT_EQ(player->in_inventory("-Bolt-Arrow-"), 8) << "an element index, not a slot";
    EXPECT_EQ(player->in_inventory("-Bolt-Arrows-"), 1);
}

TEST_F(RangedWeapon, AMissileStartsOnThePlayersTileWithTheWeaponsValues) {
    wield("Short Bow", 2, 5, "-Arrow-");
    player->attack = 60;
    player->x = 3;
    player->create_geschoss(2, 4);
    ASSERT_EQ(missiles->count(), 1);
    auto missile = std::static_pointer_cast<TGeschoss>(missiles->first());
    EXPECT_EQ(missile->richtung, 2);
    EXPECT_EQ(missile->reichweite, 5);
    EXPECT_EQ(missile->dmg, 6);
    EXPECT_EQ(missile->x, 3);
    EXPECT_EQ(missile->y, 1);
    EXPECT_EQ(missile->skill, 60);
    EXPECT_EQ(missile->flugweg, 0);
}

}  // namespace
}  // namespace grotmere::testing
