// The monsters' turn: finding a monster on a tile, sighting along the four lines, wandering,
// potions and teleports under a monster, and the death that ends the pass.
#include <gtest/gtest.h>

#include <set>

#include "actors/geschoss.hpp"
#include "actors/trank.hpp"
#include "actors/treasure.hpp"
#include "tests/actors/player_game.hpp"
#include "tests/actors/rolls.hpp"
#include "world/teleport.hpp"
#include "world/tile_writes.hpp"

namespace grotmere::testing {
namespace {

using Sighting = PlayerGame;
using Wandering = PlayerGame;
using MonsterTurn = PlayerGame;

std::shared_ptr<TTreasure> heap_at(int32_t x, int32_t y) {
    auto heap = new_record<TTreasure>();
    heap->x = x;
    heap->y = y;
    treasures->append(heap);
    return heap;
}

std::shared_ptr<TTrank> potion(const std::string& wirkung, int32_t anzahl) {
    auto made = new_record<TTrank>();
    made->name = "Potion";
    made->wirkung = wirkung;
    made->anzahl = anzahl;
    return made;
}

TEST_F(Sighting, CollideFindsTheFirstMonsterOnTheTile) {
    auto rat = monster("Rat", 2, 2, 5);
    monster("Bat", 2, 2, 5);
    EXPECT_EQ(TGegner::collide(2, 2), rat);
    EXPECT_EQ(TGegner::collide(2, 3), nullptr);
}

TEST_F(Sighting, CodesAlongTheFourLines) {
    map({"0000000", "0000000", "0000000", "0000000", "0000000", "0000000", "0000000"});
    auto eye = monster("Eye", 3, 3, 5);
    const struct {
        int32_t px, py, range, code;
    } cases[] = {
        {3, 0, 5, 3003}, {3, 0, 3, 3003}, {3, 0, 2, 0},    {0, 3, 5, 1003},
        {4, 3, 1, 2001}, {5, 3, 1, 0},    {5, 3, 2, 2002}, {3, 6, 9, 4003},
        {4, 2, 9, 0},    {4, 4, 9, 0},    {3, 4, 0, 0},    {3, 3, 9, 0},
    };
    for (const auto& c : cases) {
        place(c.px, c.py);
        EXPECT_EQ(eye->checkforplayer(c.range), c.code)
            << "player at " << c.px << "," << c.py << " range " << c.range;
    }
}

TEST_F(Sighting, ATileHidesOnlyWhatLiesBeyondIt) {
    map({"0000000", "0000000", "0000000", "0000000", "0000000", "0000000", "0000000"});
    auto eye = monster("Eye", 3, 3, 5);
    place(3, 0);
    write_tile(3, 1)->ID = TKarte::MAP_SOLID;
    EXPECT_EQ(eye->checkforplayer(5), 0) << "a wall at distance 2";
    write_tile(3, 1)->ID = 0;
    write_tile(3, 0)->ID = TKarte::MAP_SOLID;
    EXPECT_EQ(eye->checkforplayer(5), 3003) << "the player's own tile hides nothing";
    write_tile(3, 0)->ID = 0;
    write_tile(3, 2)->begehbar = 0;
    EXPECT_EQ(eye->checkforplayer(5), 0) << "a closed tile hides";
    write_tile(3, 2)->begehbar = 2;
    EXPECT_EQ(eye->checkforplayer(5), 3003) << "only a begehbar of exactly 0 hides";
}

TEST_F(Sighting, OffTheMapNothingHidesAndNothingIsRead) {
    map({"000", "000", "000"});
    auto eye = monster("Eye", 0, 1, 5);
    place(-4, 1);
    EXPECT_EQ(eye->checkforplayer(9), 1004);
    place(-2000, 1);
    EXPECT_EQ(eye->checkforplayer(1 << 30), 0) << "too far for a sighting code";
}

TEST_F(Wandering, HalfTheTimeOneStepAndNeverOffTheMapOrIntoAClosedTile) {
    map({"0001", "0000", "0000"});
    write_tile(1, 1)->begehbar = 2;
    auto rat = monster("Rat", 0, 0, 5);
    seed_random(11);
    std::set<std::pair<int32_t, int32_t>> visited;
    int32_t stayed = 0;
    for (int32_t k = 0; k < 2000; ++k) {
        const int32_t x = rat->x;
        const int32_t y = rat->y;
        rat->move();
        ASSERT_LE(std::abs(rat->x - x) + std::abs(rat->y - y), 1);
        ASSERT_TRUE(inside_map(rat->x, rat->y));
        visited.insert({rat->x, rat->y});
        if (rat->x == x && rat->y == y) ++stayed;
    }
    EXPECT_EQ(visited.count({3, 0}), 0U) << "a wall";
    EXPECT_EQ(visited.count({1, 1}), 0U) << "begehbar 2 is not walkable";
    EXPECT_EQ(visited.size(), 10U);
    EXPECT_GT(stayed, 1000) << "an even chance to stay, more where a step is refused";

    map({"0"});
    rat->x = rat->y = 0;
    for (int32_t k = 0; k < 200; ++k)
        rat->move();
    EXPECT_EQ(std::pair(rat->x, rat->y), std::pair(0, 0));
}

TEST_F(MonsterTurn, AMonsterStrikesShootsOrWanders) {
    map({"0000000", "0000000", "0000000", "0000000", "0000000", "0000000", "0000000"});
    place(3, 3);
    auto biter = monster("Biter", 4, 3, 5);
    biter->attack = 100;
    auto archer = monster("Archer", 3, 0, 5);
    archer->attack_range = 5;
    auto stroller = monster("Stroller", 0, 0, 5);
    stroller->attack_range = 9;
    TGegner::update();
    EXPECT_EQ(log().size(), 2U);
    EXPECT_EQ(log()[1].rfind("Biter attacks you and hits", 0), 0U) << log()[1];
    EXPECT_EQ(log()[0], "You are attacked by Archer");
    ASSERT_EQ(missiles->count(), 1);
    EXPECT_EQ(std::static_pointer_cast<TGeschoss>(missiles->first())->richtung, 4);
}

TEST_F(MonsterTurn, TheFirstDeadMonsterDiesAndEndsThePass) {
    place(2, 2);
    auto biter = monster("Biter", 2, 3, 5);
    biter->attack = 100;
    auto dead = monster("Rat", 1, 1, 0);
    dead->xp = 7;
    dead->gold = 9;
    auto late = monster("Late", 2, 1, 5);
    late->attack = 100;
    player->xp = 3;
    // Biter's blow draws its roll, its parry roll and its die first; then the item budget
    // (gold_drop 0: 0 or 1) and then the gold (1 to 9).
    seed_rolling({{1, 100, 50}, {1, 100, 100}, {1, 0, 1}, {0, 1, 0}, {1, 9, 7}});
    TGegner::update();
    EXPECT_EQ(log(), (std::vector<std::string>{"Rat is dead!",
                                               "Biter attacks you and hits for 1 Points"}));
    EXPECT_EQ(monsters->records(), (std::vector<RecordRef>{biter, late}));
    EXPECT_EQ(player->xp, 10);
    ASSERT_EQ(treasures->count(), 1);
    auto heap = std::static_pointer_cast<TTreasure>(treasures->first());
    EXPECT_EQ((std::array{heap->x, heap->y, heap->gold}), (std::array{1, 1, 7}));
}

TEST_F(MonsterTurn, DeathGoesByTheEffectiveHp) {
    auto kept = monster("Kept", 0, 0, 0);
    potion("hp+5'3", 1)->parse_wirkung(kept);
    TGegner::update();
    EXPECT_EQ(monsters->count(), 1);
    auto doomed = monster("Doomed", 4, 4, 5);
    potion("hp-5'3", 1)->parse_wirkung(doomed);
    TGegner::update();
    EXPECT_EQ(monsters->records(), std::vector<RecordRef>{kept});
    EXPECT_EQ(newest(), "Doomed is dead!");
}

TEST_F(MonsterTurn, APotionStackIsDrunkOneUnitATurnAndOnlyANeighbourSeesIt) {
    map({"11111", "11011", "11111"});
    auto rat = monster("Rat", 2, 1, 5);
    rat->attack = 0;
    auto heap = heap_at(2, 1);
    auto stack = potion("hp+1", 3);
    heap->drop->append(stack);
    auto bone = new_record<TGegenstand>();
    heap->drop->append(bone);

    const std::pair<int32_t, int32_t> player_at[] = {{0, 0}, {3, 1}, {3, 2}};
    for (const auto& [px, py] : player_at) {
        place(px, py);
        TGegner::update();
    }
    EXPECT_EQ(rat->hp, 8);
    EXPECT_EQ(stack->anzahl, 0);
    EXPECT_EQ(heap->drop->records(), std::vector<RecordRef>{bone});
    const std::vector<std::string> lines = log();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Rat drinks a Potion."), 1)
        << "only in the turn the player stood beside it, not diagonal";
}

TEST_F(MonsterTurn, TeleportsActBeforeThePotions) {
    map({"11111", "10111", "11111", "11101", "11111"});
    auto gate = put(1, 1, new_record<TTeleport>());
    gate->target_x = 3;
    gate->target_y = 3;
    auto rat = monster("Rat", 1, 1, 5);
    heap_at(3, 3)->drop->append(potion("hp+10", 1));
    TGegner::update();
    EXPECT_EQ(std::pair(rat->x, rat->y), std::pair(3, 3));
    EXPECT_EQ(rat->hp, 15);
}

}  // namespace
}  // namespace grotmere::testing
