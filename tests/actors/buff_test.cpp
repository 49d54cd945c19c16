// Potion effect texts, lasting and per-turn buffs, their ticks and the effective values.
#include <gtest/gtest.h>

#include <climits>

#include "actors/buff.hpp"
#include "actors/trank.hpp"
#include "tests/actors/player_game.hpp"

namespace grotmere::testing {
namespace {

using Buffs = PlayerGame;

int32_t buff_count(const ListRef& buffs) {
    return buffs->count();
}

TEST_F(Buffs, LastingAttackPotionCountsUntilTheThirdTurn) {
    drink("attack+20'3", player);
    EXPECT_EQ(player->actual("attack"), 70);
    EXPECT_EQ(player->attack, 50) << "a lasting buff leaves the stored value alone";
    pass({hit(kWait)});
    pass({hit(kWait)});
    EXPECT_EQ(player->actual("attack"), 70);
    ::testing::internal::CaptureStdout();
    pass({hit(kWait)});
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "A buff has been deleted\n");
    EXPECT_EQ(newest(), "You feel different.");
    EXPECT_EQ(player->actual("attack"), 50);
    EXPECT_EQ(buff_count(player->buffs), 0);
}

// The ticks skip their walk when no buff exists, so the count must know every buff, however made.
TEST_F(Buffs, EveryBuffIsCountedWhileItExists) {
    const int64_t before = TBuff::existing();
    drink("attack+20'3", player);
    EXPECT_EQ(TBuff::existing(), before + 1);
    {
        RecordRef copy = clone_record(*player->buffs->first());
        EXPECT_EQ(TBuff::existing(), before + 2) << "a clone";
    }
    EXPECT_EQ(TBuff::existing(), before + 1);
    auto spare = new_record<TBuff>();
    *spare = static_cast<const TBuff&>(*player->buffs->first());
    EXPECT_EQ(TBuff::existing(), before + 2) << "assigning makes no new buff";
    spare.reset();
    for (int32_t turn = 0; turn < 3; ++turn)
        pass({hit(kWait)});
    EXPECT_EQ(TBuff::existing(), before) << "ended and freed";
}

TEST_F(Buffs, PerTurnEffectOnAMonsterActsExactlyItsDuration) {
    auto rat = monster("Rat", 3, 3, 10);
    drink("hp-2#3", rat);
    TBuff::update(0);
    TBuff::update(1);  // the per-pass tick leaves per-turn buffs alone
    TBuff::update(0);
    EXPECT_EQ(rat->hp, 6);
    EXPECT_TRUE(log().empty());
    TBuff::update(0);
    EXPECT_EQ(rat->hp, 4);
    EXPECT_EQ(newest(), "Monster feels different.");
    TBuff::update(0);
    EXPECT_EQ(rat->hp, 4);
}

TEST_F(Buffs, ProductAndQuotientWorkFromTheValueOfTheMoment) {
    player->dmg = 4;
    drink("dmg*3'5", player);
    EXPECT_EQ(player->actual("dmg"), 12);
    player->dmg = 6;
    EXPECT_EQ(player->actual("dmg"), 14) << "still adds 8, not 12";

    player->hp = 9;
    drink("hp/2'5", player);
    EXPECT_EQ(player->actual("hp"), 5);
    player->hpmax = 8;
    drink("hpmax/4'5", player);
    EXPECT_EQ(player->actual("hpmax"), 6) << "dividing by 4 takes a quarter away";
}

TEST_F(Buffs, ImmediatePiecesAndTheOperatorOrder) {
    struct Case {
        std::string wirkung;
        int32_t hp, luck;
    };
    const Case cases[] = {
        {"hp+1||luck+1", 31, 6},  // the empty piece between does nothing
        {"hp+1|", 31, 5},         // no empty last piece
        {"", 30, 5},
        {"HP*2|Luck-7", 60, -2},  // field names ignore case
        {"hp+-3", 27, 5},         // "+" is found first: value -3
        {"hp-+3", 30, 5},         // "+" again, so the field is "hp-": nothing
        {"hp,3|hp.3|hp3", 30, 5},
        {"hp-2#0", 28, 5},  // a zero duration acts at once
        {"gold+7|nosuch+1", 30, 5},
    };
    for (const Case& c : cases) {
        player = TPlayer::create("Aldric", 30, 1, 1, 50, 30, 3);
        player->luck = 5;
        drink(c.wirkung, player);
        EXPECT_EQ(player->hp, c.hp) << c.wirkung;
        EXPECT_EQ(player->luck, c.luck) << c.wirkung;
        EXPECT_EQ(buff_count(player->buffs), 0) << c.wirkung;
    }
    EXPECT_EQ(player->gold, 7);
}

TEST_F(Buffs, DurationMarks) {
    drink("luck+1'2#4", player);  // the "#" is cut away with the "'" and its number
    drink("hp-1#4'2", player);    // the "#" before the "'" wins: per-turn for 4 turns
    auto buffs = player->buffs->records();
    ASSERT_EQ(buffs.size(), 2u);
    auto lasting = std::static_pointer_cast<TBuff>(buffs[0]);
    auto per_turn = std::static_pointer_cast<TBuff>(buffs[1]);
    EXPECT_EQ(lasting->multi, 0);
    EXPECT_EQ(lasting->wirkzeit, 2);
    EXPECT_EQ(lasting->variable->Name(), "luck");
    EXPECT_EQ(per_turn->multi, 1);
    EXPECT_EQ(per_turn->wirkzeit, 4);
    EXPECT_EQ(per_turn->wert, 1);
    EXPECT_EQ(per_turn->startwert, 30);
    EXPECT_EQ(player->actual("hp"), 30) << "per-turn buffs do not count in the effective value";
}

TEST_F(Buffs, ExpiringTogetherDoesNotDisturbTheWalk) {
    drink("attack+1'1|luck+1'1|dmg+1'2|defend-1'1", player);
    TBuff::update(0);
    ASSERT_EQ(buff_count(player->buffs), 1);
    EXPECT_EQ(player->actual("dmg"), 4);
    EXPECT_EQ(log(), (std::vector<std::string>(3, "You feel different.")));
}

TEST_F(Buffs, ImpossibleDivisionsAreNeverCarriedOut) {
    drink("hp/0|hp/0'3|hp/0#3", player);
    EXPECT_EQ(player->hp, 30);
    EXPECT_EQ(buff_count(player->buffs), 0);

    player->hp = INT_MIN;
    drink("hp/-1|hp/-1'3", player);
    EXPECT_EQ(player->hp, INT_MIN);
    EXPECT_EQ(buff_count(player->buffs), 0);

    player->hp = 8;
    drink("hp/-1#2", player);  // fine now, impossible once the value is the lowest
    player->hp = INT_MIN;
    TBuff::update(0);
    EXPECT_EQ(player->hp, INT_MIN);
}

TEST_F(Buffs, DurationOnAFieldThatDoesNotExistMakesNoBuff) {
    drink("nosuch+3'5|+3'5|'5", player);
    EXPECT_EQ(buff_count(player->buffs), 0);
}

TEST_F(Buffs, MonsterArmourBuffIsCountedOnlyUnderItsDeclaredName) {
    auto rat = monster("Rat", 3, 3, 10);
    rat->RS = 2;
    drink("rs+5'3", rat);
    EXPECT_EQ(rat->actual("rs"), 2) << "the buff's field is declared RS";
    EXPECT_EQ(rat->actual("RS"), 7);
    drink("rs+1#2", rat);
    TBuff::update(0);
    EXPECT_EQ(rat->RS, 3) << "per-turn effects change the stored RS all the same";

    player->rs = 2;
    drink("RS+5'3", player);
    EXPECT_EQ(player->actual("rs"), 7) << "the player's field is declared rs";
}

TEST_F(Buffs, PlayerOwnsByTypeAndMonsterByTarget) {
    auto rat = monster("Rat", 3, 3, 10);
    auto bat = monster("Bat", 3, 4, 10);
    drink("attack+4'3", rat);
    // The same buff moved into another monster's list is not that monster's.
    bat->buffs->append(rat->buffs->first());
    EXPECT_EQ(bat->actual("attack"), 0);
    EXPECT_EQ(rat->actual("attack"), 4);

    // A player counts any buff made for a player.
    auto other = TPlayer::create("Other", 30, 0, 0, 10, 10, 1);
    drink("attack+4'3", other);
    player->buffs->append(other->buffs->first());
    EXPECT_EQ(player->actual("attack"), 54);
}

}  // namespace
}  // namespace grotmere::testing
