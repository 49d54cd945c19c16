// Blows between the player and a monster: the outcome roll, the five lines of each direction,
// critical ranges, parry and armour, and the monster's shot.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "actors/geschoss.hpp"
#include "actors/panzer.hpp"
#include "actors/trank.hpp"
#include "actors/waffe.hpp"
#include "tests/actors/player_game.hpp"
#include "tests/actors/rolls.hpp"

namespace grotmere::testing {
namespace {

enum class Seen { Hit, Critical, Miss };

Seen seen_in(const std::string& line) {
    if (line.find("CRITICALLY") != std::string::npos) return Seen::Critical;
    if (line.find("miss") != std::string::npos) return Seen::Miss;
    return Seen::Hit;
}

class Combat : public PlayerGame {
protected:
    void SetUp() override {
        PlayerGame::SetUp();
        rat = monster("Rat", 2, 1, 1000);
        player->defend = 0;
        player->luck = 0;
    }

    // The smallest and largest hp loss of the blow over many seeded blows.
    template <class Blow>
    static std::pair<int32_t, int32_t> loss_range(int32_t& hp, Blow blow) {
        seed_random(3);
        int32_t least = 1 << 30;
        int32_t most = -(1 << 30);
        for (int32_t k = 0; k < 400; ++k) {
            const int32_t before = hp;
            blow();
            least = std::min(least, before - hp);
            most = std::max(most, before - hp);
        }
        return {least, most};
    }

    std::shared_ptr<TGegner> rat;
};

TEST_F(Combat, TheOutcomeRollAgainstAttackAndLuck) {
    struct Table {
        int32_t attack, luck;
        std::map<int32_t, Seen> rolls;
    };
    const Table tables[] = {
        {60,
         5,
         {{1, Seen::Critical},
          {5, Seen::Critical},
          {6, Seen::Hit},
          {60, Seen::Hit},
          {61, Seen::Miss},
          {100, Seen::Miss}}},
        // Luck above attack: every roll up to luck is critical, no ordinary hit is possible.
        {3, 10, {{1, Seen::Critical}, {3, Seen::Critical}, {10, Seen::Critical}, {11, Seen::Miss}}},
    };
    for (const Table& table : tables) {
        player->attack = rat->attack = table.attack;
        player->luck = rat->luck = table.luck;
        for (const auto& [roll, outcome] : table.rolls) {
            seed_rolling({{1, 100, roll}});
            player->attackiere(*rat);
            EXPECT_EQ(seen_in(newest()), outcome) << "player, roll " << roll;
            seed_rolling({{1, 100, roll}});
            rat->attackiere(2001);
            EXPECT_EQ(seen_in(newest()), outcome) << "monster, roll " << roll;
        }
    }
}

TEST_F(Combat, ThePlayersFiveLines) {
    player->attack = 60;
    player->luck = 5;
    player->dmg = 5;
    rat->defend = 10;

    seed_rolling({{1, 100, 30}, {1, 100, 50}, {1, 5, 4}});
    player->attackiere(*rat);
    EXPECT_EQ(newest(), "You attack Rat and hit for 4 points");
    EXPECT_EQ(rat->hp, 996);

    wield("Sword", 5);
    rat->RS = 1;
    seed_rolling({{1, 100, 30}, {1, 100, 50}, {1, 5, 4}, {1, 5, 2}});
    player->attackiere(*rat);
    EXPECT_EQ(newest(), "You attack Rat and hit for 5 points") << "weapon die second, less RS";

    rat->RS = 10;
    seed_rolling({{1, 100, 30}, {1, 100, 50}});
    player->attackiere(*rat);
    EXPECT_EQ(newest(), "You attack Rat and hit but Rats armor absorbs all damage.");
    EXPECT_EQ(rat->hp, 991);

    seed_rolling({{1, 100, 30}, {1, 100, 10}});
    player->attackiere(*rat);
    EXPECT_EQ(newest(), "You attack Rat and hit but Rat parries well.");

    seed_rolling({{1, 100, 61}});
    player->attackiere(*rat);
    EXPECT_EQ(newest(), "You attack Rat but miss.");
    EXPECT_EQ(rat->hp, 991);

    // Base 3 to 6 for dmg 5; the weapon's 3 to 5 counts 1.2 times, summed before the cut.
    rat->defend = 100;
    seed_rolling({{1, 100, 5}, {3, 6, 4}, {3, 5, 5}});
    player->attackiere(*rat);
    EXPECT_EQ(newest(), "You attack Rat and HIT CRITICALLY for 10 points!");
    EXPECT_EQ(rat->hp, 981) << "no parry and no armour against a critical blow";
    seed_rolling({{1, 100, 1}, {3, 6, 3}, {3, 5, 4}});
    player->attackiere(*rat);
    EXPECT_EQ(newest(), "You attack Rat and HIT CRITICALLY for 7 points!") << "3 + 4.8";
}

TEST_F(Combat, TheMonstersFiveLinesAndItsShot) {
    rat->attack = 60;
    rat->luck = 5;
    rat->dmg = 10;
    player->defend = 20;
    player->hp = 100;

    seed_rolling({{1, 100, 30}, {1, 100, 21}, {1, 10, 7}});
    rat->attackiere(2001);
    EXPECT_EQ(newest(), "Rat attacks you and hits for 7 Points");
    EXPECT_EQ(player->hp, 93);

    seed_rolling({{1, 100, 30}, {1, 100, 20}});
    rat->attackiere(1001);
    EXPECT_EQ(newest(), "Rat attacks you and hits but you parry well.");

    // Effective rs and worn armour both count against an ordinary hit: 5 or less is absorbed.
    player->rs = 2;
    wear(3);
    seed_rolling({{1, 100, 30}, {1, 100, 50}, {1, 10, 5}});
    rat->attackiere(3001);
    EXPECT_EQ(newest(), "Rat attacks you and hits but your Armor absorbs all damage.");
    seed_rolling({{1, 100, 30}, {1, 100, 50}, {1, 10, 6}});
    rat->attackiere(3001);
    EXPECT_EQ(newest(), "Rat attacks you and hits for 1 Points");
    EXPECT_EQ(player->hp, 92);

    seed_rolling({{1, 100, 5}, {6, 12, 6}});
    rat->attackiere(4001);
    EXPECT_EQ(newest(), "Rat attacks you and hits CRITICALLY for 6 points.");
    EXPECT_EQ(player->hp, 86) << "a critical blow ignores parry, rs and worn armour";

    seed_rolling({{1, 100, 61}});
    rat->attackiere(2001);
    EXPECT_EQ(newest(), "Rat attacks you but misses.");

    // Farther than one tile the monster shoots; the missile decides later whether it strikes.
    rat->attack_range = 3;
    rat->range_dmg = 4;
    rat->attack = 45;
    seed_random(9);
    random_range(1, 100);
    const int32_t after_one_roll = random_state();
    seed_random(9);
    rat->attackiere(2002);
    EXPECT_EQ(newest(), "You are attacked by Rat");
    EXPECT_EQ(player->hp, 86);
    EXPECT_EQ(random_state(), after_one_roll) << "the shot draws the roll and nothing else";
    ASSERT_EQ(missiles->count(), 1);
    auto shot = std::static_pointer_cast<TGeschoss>(missiles->first());
    EXPECT_EQ((std::array{shot->richtung, shot->reichweite, shot->dmg, shot->x, shot->y,
                          shot->skill, shot->flugweg}),
              (std::array{2, 3, 4, 2, 1, 45, 0}));
}

TEST_F(Combat, CriticalRanges) {
    rat->luck = 100;
    player->hp = 1 << 30;
    const std::map<int32_t, std::pair<int32_t, int32_t>> monster_ranges = {
        {1, {1, 1}}, {5, {3, 6}}, {10, {6, 12}}};
    for (const auto& [dmg, range] : monster_ranges) {
        rat->dmg = dmg;
        EXPECT_EQ(loss_range(player->hp, [&] { rat->attackiere(2001); }), range) << "dmg " << dmg;
    }

    player->luck = 100;
    player->dmg = 4;
    EXPECT_EQ(loss_range(rat->hp, [&] { player->attackiere(*rat); }), std::pair(3, 4));
    wield("Sword", 5);
    EXPECT_EQ(loss_range(rat->hp, [&] { player->attackiere(*rat); }), std::pair(6, 10))
        << "3 + 3.6 to 4 + 6";
}

TEST_F(Combat, BuffsOnDamageCountForThePlayerOnly) {
    rat->luck = 100;
    rat->dmg = 1;
    player->hp = 1 << 30;
    drink("dmg+50'5", rat);
    EXPECT_EQ(loss_range(player->hp, [&] { rat->attackiere(2001); }), std::pair(1, 1));

    player->luck = 100;
    player->dmg = 1;
    drink("dmg+9'5", player);
    EXPECT_EQ(loss_range(rat->hp, [&] { player->attackiere(*rat); }), std::pair(6, 12));
}

TEST_F(Combat, AParryOf100StopsEveryOrdinaryHitButNoCriticalBlow) {
    player->attack = 60;
    player->luck = 5;
    rat->defend = 100;
    seed_random(5);
    int32_t criticals = 0;
    for (int32_t k = 0; k < 300; ++k) {
        const int32_t before = rat->hp;
        player->attackiere(*rat);
        const Seen seen = seen_in(newest());
        if (seen == Seen::Hit) {
            EXPECT_EQ(newest(), "You attack Rat and hit but Rat parries well.");
        }
        if (seen == Seen::Critical) ++criticals;
        EXPECT_EQ(before != rat->hp, seen == Seen::Critical);
    }
    EXPECT_GT(criticals, 0);
}

using BumpAttack = Combat;

TEST_F(BumpAttack, WalkingIntoAMonsterStrikesTheFirstOnTheTile) {
    auto second = monster("Bat", 2, 1, 1000);
    player->attack = 100;
    player->dmg = 1;
    seed_rolling({{1, 100, 50}, {1, 100, 100}, {1, 1, 1}});
    EXPECT_TRUE(pass({hit(kRight)}).turn_taken);
    EXPECT_EQ(player->x, 1);
    EXPECT_EQ(rat->hp, 999);
    EXPECT_EQ(second->hp, 1000);
    const std::vector<std::string> lines = log();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "You attack Rat and hit for 1 points"),
              lines.end());
}

}  // namespace
}  // namespace grotmere::testing
