// Treasure heaps: the draw that buys a slain monster's items, gold and items dropped on a tile,
// the clean-up of empty heaps, and the get key that empties them.
#include <gtest/gtest.h>

#include "base/random.hpp"
#include "tests/actors/item_game.hpp"
#include "world/key.hpp"

namespace grotmere::testing {
namespace {

using TreasureDraw = ItemGame;
using DroppedOnTheFloor = ItemGame;
using GetKey = ItemGame;

// The random state after that many tries of the draw, each drawing one prototype index.
int32_t state_after_tries(int32_t seed, int32_t tries) {
    seed_random(seed);
    for (int32_t i = 0; i < tries; ++i)
        random_range(0, 0);
    return random_state();
}

// The random state right after the last draw made by created().
int32_t state_after_draw = 0;

std::shared_ptr<TTreasure> created(int32_t gold, int32_t wert) {
    seed_random(5);
    TTreasure::create(2, 3, gold, wert);
    state_after_draw = random_state();
    return std::static_pointer_cast<TTreasure>(treasures->records().back());
}

TEST_F(TreasureDraw, AnEmptyBudgetGivesOnlyTheGoldAfterOneTry) {
    auto heap = created(7, 0);
    EXPECT_EQ(heap->x, 2);
    EXPECT_EQ(heap->y, 3);
    EXPECT_EQ(heap->gold, 7);
    EXPECT_TRUE(heap->drop->empty());
    EXPECT_EQ(state_after_draw, state_after_tries(5, 1));
}

TEST_F(TreasureDraw, ABudgetNoPrototypeFitsTurnsIntoGoldAfterThirtyTries) {
    prototypes(R"(TGegenstand { name = "Crown"  preis = 101 })");
    auto too_dear = created(5, 100);
    EXPECT_EQ(too_dear->gold, 17) << "one piece per 8 of the budget";
    EXPECT_TRUE(too_dear->drop->empty());
    EXPECT_EQ(state_after_draw, state_after_tries(5, 30));

    prototypes(R"(TGegenstand { name = "Pebble"  preis = 5 })");
    auto too_cheap = created(0, 100);
    EXPECT_EQ(too_cheap->gold, 12) << "a twentieth of the budget is too cheap";
    EXPECT_TRUE(too_cheap->drop->empty());
}

TEST_F(TreasureDraw, EachFindCostsSixTriesAndTheRestBecomesGold) {
    prototypes(R"(TGegenstand { name = "Ruby"  preis = 30 })");
    auto heap = created(0, 100);
    EXPECT_EQ(contents(*heap), (std::vector<std::string>{"Ruby x3"}));
    EXPECT_EQ(heap->gold, 1) << "10 left after three rubies";
    EXPECT_EQ(state_after_draw, state_after_tries(5, 3 + 12))
        << "18 points for three finds, 12 for the misses";
}

TEST_F(TreasureDraw, ASecondFindAddsOnePieceWhateverThePrototypesCount) {
    prototypes(R"(TMunition { name = "Arrow"  preis = 40  anzahl = 12 })");
    auto heap = created(0, 100);
    EXPECT_EQ(contents(*heap), (std::vector<std::string>{"Arrow x13"}));
    EXPECT_EQ(heap->gold, 2);
}

TEST_F(TreasureDraw, OnlyThePriceEveryItemInheritsBuysKeys) {
    // In a file "preis" sets the key's own price; the inherited one stays 0.
    prototypes(R"(TKey { name = "Gate Key"  preis = 60 })");
    EXPECT_TRUE(created(0, 60)->drop->empty());

    auto key = new_record<TKey>();
    key->name = "Gate Key";
    static_cast<TGegenstand&>(*key).preis = 60;
    item_prototypes->clear();
    item_prototypes->append(key);
    EXPECT_EQ(contents(*created(0, 60)), (std::vector<std::string>{"Gate Key x1"}));
}

TEST_F(TreasureDraw, WithoutPrototypesTheHeapHoldsOnlyGold) {
    item_prototypes->clear();
    auto heap = created(3, 100);
    EXPECT_EQ(heap->gold, 15);
    EXPECT_TRUE(heap->drop->empty());
    EXPECT_EQ(state_after_draw, state_after_tries(5, 0)) << "nothing to draw from";
}

TEST_F(DroppedOnTheFloor, GoldJoinsTheFirstHeapOfExactlyThatCell) {
    TTreasure::drop_gold(1, 2, 4);
    TTreasure::drop_gold(1, 2, 3);
    TTreasure::drop_gold(2, 2, 1);
    ASSERT_EQ(treasures->count(), 2);
    EXPECT_EQ(heap_at(1, 2)->gold, 7);
    EXPECT_EQ(heap_at(2, 2)->gold, 1);
}

TEST_F(DroppedOnTheFloor, OnePieceIsCopiedWhateverTheGivenCount) {
    auto arrows = item("Arrow", 9);
    TTreasure::drop_gegenstand(0, 0, *arrows);
    TTreasure::drop_gegenstand(0, 0, *arrows);
    TTreasure::drop_gegenstand(0, 0, *item("Ruby"));
    auto heap = heap_at(0, 0);
    EXPECT_EQ(heap->gold, 0);
    EXPECT_EQ(contents(*heap), (std::vector<std::string>{"Arrow x2", "Ruby x1"}));
    EXPECT_EQ(arrows->anzahl, 9);
    EXPECT_NE(heap->drop->first(), arrows) << "the given item itself is never stored";
}

TEST_F(DroppedOnTheFloor, TheCleanUpRemovesOnlyEmptyHeaps) {
    TTreasure::drop_gold(0, 0, 0);
    TTreasure::drop_gold(1, 0, 0);
    TTreasure::drop_gold(2, 0, -3);
    TTreasure::drop_gegenstand(3, 0, *item("Ruby"));
    TTreasure::drop_gold(4, 0, 0);
    TTreasure::update();
    ASSERT_EQ(treasures->count(), 2) << "two empty heaps in a row both go";
    EXPECT_TRUE(heap_at(2, 0));
    EXPECT_TRUE(heap_at(3, 0));
}

TEST_F(GetKey, NothingAroundStillTakesTheTurnSilently) {
    TTreasure::drop_gold(3, 3, 5);
    EXPECT_TRUE(pass({hit(kGet)}).turn_taken);
    EXPECT_TRUE(log().empty());
    EXPECT_EQ(heap_at(3, 3)->gold, 5);
}

TEST_F(GetKey, AllGoldIsTakenAndAHeapOfGoldOnlyIsGone) {
    TTreasure::drop_gold(2, 2, 7);
    TTreasure::drop_gold(0, 1, 3);
    EXPECT_TRUE(pass({hit(kGet)}).turn_taken);
    EXPECT_EQ(player->gold, 10);
    EXPECT_EQ(log(), (std::vector<std::string>{"You pick up 3 pieces of gold.",
                                               "You pick up 7 pieces of gold."}));
    EXPECT_TRUE(treasures->empty());
}

TEST_F(GetKey, ItemsThatDoNotFitStayOnTheirHeap) {
    TTreasure::drop_gold(1, 2, 2);
    auto heap = heap_at(1, 2);
    heap->drop->append(item("Ruby"));
    heap->drop->append(item("Arrow", 3));
    heap->drop->append(item("Axe"));
    give(4, "Arrow", 1);
    fill_inventory();
    slot_item(9) = nullptr;
    pass({hit(kGet)});
    EXPECT_EQ(log(),
              (std::vector<std::string>{"You can't carry any more.", "You pick up 3 Arrows.",
                                        "You pick up a Ruby", "You pick up 2 pieces of gold."}));
    EXPECT_EQ(slot_item(4)->anzahl, 4);
    EXPECT_EQ(slot_item(9)->name, "Ruby");
    ASSERT_TRUE(heap_at(1, 2)) << "the axe is still there";
    EXPECT_EQ(contents(*heap), (std::vector<std::string>{"Axe x1"}));
    EXPECT_EQ(heap->gold, 0);
}

TEST_F(GetKey, WithTheDropKeyHeldOneGoldPieceGoesDownAndNoTurnPasses) {
    EXPECT_FALSE(pass({press(kLeftShift), hit(kGet)}).turn_taken);
    EXPECT_TRUE(treasures->empty()) << "no gold, nothing dropped";
    player->gold = 3;
    EXPECT_FALSE(pass({hit(kGet)}).turn_taken);
    EXPECT_FALSE(pass({hit(kGet)}).turn_taken);
    EXPECT_EQ(player->gold, 1);
    EXPECT_EQ(treasures->count(), 1);
    EXPECT_EQ(heap_at(1, 1)->gold, 2);
    EXPECT_TRUE(pass({hit(kGet), hit(kWait)}).turn_taken) << "a later step may still act";
    EXPECT_EQ(newest(), "You wait a little...");
}

TEST_F(GetKey, AHeapEmptiedByOthersGoesAtTheEndOfTheTurn) {
    TTreasure::drop_gold(4, 4, 2);
    heap_at(4, 4)->gold = 0;
    EXPECT_FALSE(pass().turn_taken);
    EXPECT_EQ(treasures->count(), 1) << "no turn, no clean-up";
    pass({hit(kWait)});
    EXPECT_TRUE(treasures->empty());
}

}  // namespace
}  // namespace grotmere::testing
