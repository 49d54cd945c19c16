// The inventory: stacking and its announcements, dropping, and every row of the use table.
#include <gtest/gtest.h>

#include "actors/panzer.hpp"
#include "actors/waffe.hpp"
#include "tests/actors/item_game.hpp"
#include "world/leuchte.hpp"

namespace grotmere::testing {
namespace {

using Storing = ItemGame;
using Dropping = ItemGame;
using Using = ItemGame;
using Wielding = ItemGame;
using Wearing = ItemGame;
using Lighting = ItemGame;

TEST_F(Storing, AStackJoinsTheSlotOfItsNameAndIsAnnouncedWithItsCount) {
    give(2, "Ruby");
    give(5, "Arrow", 2);
    auto incoming = item("Arrow", 3);
    EXPECT_EQ(player->add_to_inventory(incoming, 1), 1);
    EXPECT_EQ(slot_item(5)->anzahl, 5);
    EXPECT_FALSE(slot_item(1)) << "the incoming record itself is not kept";
    EXPECT_EQ(newest(), "You pick up 3 Arrows.");
}

TEST_F(Storing, ASinglePieceTakesTheFirstEmptySlotAndHasNoFullStop) {
    give(1, "Ruby");
    give(3, "Axe");
    auto sword = item("Sword");
    EXPECT_EQ(player->add_to_inventory(sword, 1), 1);
    EXPECT_EQ(slot_item(2), sword);
    EXPECT_EQ(newest(), "You pick up a Sword");
    EXPECT_EQ(player->add_to_inventory(item("Axe"), 1), 1);
    EXPECT_EQ(slot_item(3)->anzahl, 2) << "weapons stack by name too";
    EXPECT_EQ(player->add_to_inventory(nullptr, 1), 0);
}

TEST_F(Storing, AFullInventoryRefusesLoudlyOrSilently) {
    fill_inventory();
    EXPECT_EQ(player->add_to_inventory(item("Axe"), 1), 0);
    EXPECT_EQ(newest(), "You can't carry any more.");
    message_lines.fill("");
    EXPECT_EQ(player->add_to_inventory(item("Axe"), 0), 0);
    EXPECT_TRUE(log().empty());
    EXPECT_EQ(player->add_to_inventory(item("Arrow", 4), 0), 0);
    slot_item(7) = item("Arrow", 1);
    EXPECT_EQ(player->add_to_inventory(item("Arrow", 4), 0), 1) << "a full inventory still stacks";
    EXPECT_EQ(slot_item(7)->anzahl, 5);
    EXPECT_TRUE(log().empty());
}

// The list as it should be drawn, with the same font at the same places.
TEST_F(Dropping, OnePieceGoesToTheHeapOnThePlayersTile) {
    give(4, "Arrow", 4);
    EXPECT_FALSE(pass({press(kLeftShift), hit(slot_key(4))}).turn_taken)
        << "dropping takes no turn";
    EXPECT_EQ(slot_item(4)->anzahl, 3);
    ASSERT_TRUE(heap_at(1, 1));
    EXPECT_EQ(contents(*heap_at(1, 1)), (std::vector<std::string>{"Arrow x1"}));
    pass({hit(slot_key(4))});
    EXPECT_EQ(contents(*heap_at(1, 1)), (std::vector<std::string>{"Arrow x2"}))
        << "a second drop on the tile joins the same floor stack";
    EXPECT_EQ(treasures->count(), 1);
    EXPECT_TRUE(log().empty()) << "no message";
}

TEST_F(Dropping, TheLastPieceEmptiesTheSlotAndAnEmptySlotDropsNothing) {
    give(1, "Sword");
    player->drop_gegenstand(1);
    EXPECT_FALSE(slot_item(1));
    player->drop_gegenstand(1);
    player->drop_gegenstand(2);
    EXPECT_EQ(contents(*heap_at(1, 1)), (std::vector<std::string>{"Sword x1"}));
}

TEST_F(Using, APotionIsNamedThenDrunkOnePieceAtATime) {
    player->hp = 5;
    give(2, "Healing Potion", 2);
    EXPECT_TRUE(pass({hit(slot_key(2))}).turn_taken);
    EXPECT_EQ(newest(), "You drink a Healing Potion");
    EXPECT_EQ(player->hp, 15);
    EXPECT_EQ(slot_item(2)->anzahl, 1);
    pass({hit(slot_key(2))});
    EXPECT_FALSE(slot_item(2));
}

TEST_F(Using, KeysAmmunitionAndPlainItemsTakeATurnAndChangeNothing) {
    give(1, "Iron Key");
    give(2, "Arrow", 12);
    give(3, "Ruby");
    EXPECT_TRUE(pass({hit(slot_key(1))}).turn_taken);
    EXPECT_EQ(newest(), "You see Iron Key");
    message_lines.fill("");
    EXPECT_TRUE(pass({hit(slot_key(2))}).turn_taken);
    EXPECT_TRUE(pass({hit(slot_key(3))}).turn_taken);
    EXPECT_TRUE(log().empty());
    EXPECT_EQ(slot_item(1)->name, "Iron Key");
    EXPECT_EQ(slot_item(2)->anzahl, 12);
    EXPECT_EQ(slot_item(3)->anzahl, 1);
    EXPECT_FALSE(pass({hit(slot_key(4))}).turn_taken) << "an empty slot is no use";
}

TEST_F(Wielding, BareHandsDrawAFreshWeaponFromThePrototype) {
    give(1, "Sword", 2)->preis = 999;
    EXPECT_EQ(player->benutze_gegenstand(1), 1);
    EXPECT_EQ(newest(), "You wield a weapon.");
    ASSERT_TRUE(player->waffe);
    EXPECT_EQ(player->waffe->preis, 30) << "made from the prototype, not the slot's piece";
    EXPECT_EQ(slot_item(1)->anzahl, 1);
}

TEST_F(Wielding, TheOldWeaponGoesBackSilentlyWhenThereIsRoom) {
    player->waffe = std::static_pointer_cast<TWaffe>(item("Axe"));
    auto old = player->waffe;
    give(1, "Sword")->preis = 999;
    player->benutze_gegenstand(1);
    EXPECT_EQ(log(), (std::vector<std::string>{"You change Weapons"}));
    EXPECT_EQ(player->waffe->name, "Sword");
    EXPECT_EQ(player->waffe->preis, 999) << "a copy of the slot's piece";
    EXPECT_EQ(player->waffe->anzahl, 1);
    EXPECT_FALSE(slot_item(1)) << "the axe did not take the sword's slot while it was in use";
    EXPECT_EQ(slot_item(2), old);
}

TEST_F(Wielding, WithAFullInventoryTheOldWeaponLandsOnTheFloor) {
    player->waffe = std::static_pointer_cast<TWaffe>(item("Axe"));
    give(1, "Sword", 2);
    fill_inventory();
    player->benutze_gegenstand(1);
    EXPECT_EQ(newest(), "You draw Sword after putting Axe to ground.");
    EXPECT_EQ(contents(*heap_at(1, 1)), (std::vector<std::string>{"Axe x1"}));
    EXPECT_EQ(player->waffe->name, "Sword");
    EXPECT_EQ(slot_item(1)->anzahl, 1);
}

TEST_F(Wielding, TheSameWeaponAgainChangesNothing) {
    player->waffe = std::static_pointer_cast<TWaffe>(item("Sword"));
    give(1, "Sword");
    player->benutze_gegenstand(1);
    EXPECT_EQ(slot_item(1)->anzahl, 1) << "the old sword stacked back before one piece left";
    EXPECT_EQ(player->waffe->name, "Sword");
}

TEST_F(Wielding, AWeaponWithoutPrototypeIsWieldedAsItIs) {
    auto odd = new_record<TWaffe>();
    odd->name = "Lost Blade";
    odd->dmg = 7;
    slot_item(1) = odd;
    player->benutze_gegenstand(1);
    ASSERT_TRUE(player->waffe);
    EXPECT_EQ(player->waffe->dmg, 7);
    EXPECT_FALSE(slot_item(1));
}

TEST_F(Wearing, TheThreeRowsOfArmour) {
    give(1, "Jerkin");
    player->benutze_gegenstand(1);
    EXPECT_EQ(newest(), "You wear armor.");
    EXPECT_EQ(player->panzer->name, "Jerkin");

    give(1, "Mail")->preis = 999;
    player->benutze_gegenstand(1);
    EXPECT_EQ(newest(), "You change your armor.");
    EXPECT_EQ(player->panzer->preis, 60) << "armour is always made from the prototype";
    EXPECT_EQ(slot_item(2)->name, "Jerkin");

    give(1, "Jerkin");
    fill_inventory();
    player->benutze_gegenstand(1);
    EXPECT_EQ(newest(), "You wear Jerkin after putting Mail to ground.");
    EXPECT_EQ(contents(*heap_at(1, 1)), (std::vector<std::string>{"Mail x1"}));
}

TEST_F(Lighting, TheOldLightIsAlwaysDroppedAndTheNewOneKeepsItsBurningTime) {
    auto torch = give(1, "Torch", 2);
    std::static_pointer_cast<TLeuchte>(torch)->brenndauer = 17;
    std::static_pointer_cast<TLeuchte>(torch)->brennt = 0;
    player->benutze_gegenstand(1);
    EXPECT_EQ(newest(), "You light up a Torch.");
    ASSERT_TRUE(player->leuchte);
    EXPECT_EQ(player->leuchte->brenndauer, 17);
    EXPECT_EQ(player->leuchte->brennt, 1);
    EXPECT_EQ(player->leuchte->anzahl, 1);
    EXPECT_EQ(slot_item(1)->anzahl, 1);

    give(2, "Lamp");
    player->benutze_gegenstand(2);
    EXPECT_EQ(newest(), "You light up a Lamp after putting Torch to ground.");
    EXPECT_EQ(contents(*heap_at(1, 1)), (std::vector<std::string>{"Torch x1"}))
        << "dropped with free slots";
    EXPECT_EQ(slot_item(1)->anzahl, 1) << "never put back into the inventory";
}

TEST_F(Lighting, ADroppedLampShinesFromItsHeapUntilItGoesOut) {
    give(1, "Torch");
    player->benutze_gegenstand(1);
    player->leuchte->brenndauer = 3;
    give(2, "Lamp");
    player->benutze_gegenstand(2);
    player->leuchte = nullptr;
    place(4, 4);
    pass({hit(kWait)});
    EXPECT_GT(tile(1, 1).lichtstaerke, 0);
    pass({hit(kWait)});
    pass({hit(kWait)});
    EXPECT_EQ(tile(1, 1).lichtstaerke, 0) << "the turn that uses the last unit gives no light";
    EXPECT_EQ(contents(*heap_at(1, 1)), (std::vector<std::string>{"Torch x1"}));
    pass({hit(kWait)});
    EXPECT_FALSE(heap_at(1, 1)) << "the burnt-out torch left the heap, and the empty heap went";
}

}  // namespace
}  // namespace grotmere::testing
