// The player's per-pass upkeep (death, caps, levels) and its health step.
#include <gtest/gtest.h>

#include "actors/buff.hpp"
#include "actors/panzer.hpp"
#include "actors/trank.hpp"
#include "actors/waffe.hpp"
#include "tests/actors/player_game.hpp"
#include "world/teleport.hpp"

namespace grotmere::testing {
namespace {

using PlayerUpkeep = PlayerGame;
using PlayerHealth = PlayerGame;

TEST_F(PlayerUpkeep, LevelZeroRisesToOneOnTheFirstFrame) {
    player->level = 0;
    player->hp = 10;
    pass();
    EXPECT_EQ(player->level, 1);
    EXPECT_GE(player->attack, 51);
    EXPECT_LE(player->attack, 53);
    EXPECT_GE(player->defend, 31);
    EXPECT_LE(player->defend, 32);
    EXPECT_GE(player->hpmax, 32);
    EXPECT_LE(player->hpmax, 42);
    EXPECT_EQ(player->hp, player->hpmax);
    EXPECT_EQ(log(), (std::vector<std::string>{"YOU'VE MADE A NEW LEVEL!"}));
}

TEST_F(PlayerUpkeep, ASurplusOfExperienceIsWorkedOffOneLevelPerFrame) {
    player->level = 2;
    player->xp = 1000;
    pass();
    EXPECT_EQ(player->level, 3);
    EXPECT_EQ(player->rs, 3) << "every third level adds 3 to the armour class";
    pass();
    EXPECT_EQ(player->level, 4);
    EXPECT_EQ(player->rs, 3);
    pass();
    EXPECT_EQ(player->level, 5) << "level 5 needs exactly 1000";
    pass();
    EXPECT_EQ(player->level, 5);
    EXPECT_EQ(log().size(), 3u);
}

TEST_F(PlayerUpkeep, ArmourClassIsHeldAtThirtyByALevelRise) {
    player->level = 5;
    player->xp = TPlayer::calc_level(6);
    player->rs = 29;
    pass();
    EXPECT_EQ(player->rs, 30);

    player->level = 3;
    player->xp = TPlayer::calc_level(4);
    player->rs = 35;
    pass();
    EXPECT_EQ(player->level, 4);
    EXPECT_EQ(player->rs, 30);

    player->rs = 40;
    pass();
    EXPECT_EQ(player->rs, 40) << "only a level rise holds the armour class";
}

TEST_F(PlayerUpkeep, AttackIsCappedByAOnePassCorrectionAndDefenceByOverwriting) {
    player->attack = 103;
    player->defend = 97;
    for (int pass_number = 0; pass_number < 3; ++pass_number) {
        pass();
        EXPECT_EQ(player->attack, 103);
        EXPECT_EQ(player->actual("attack"), 98);
        EXPECT_EQ(player->buffs->count(), 1) << "corrections never pile up";
    }
    EXPECT_EQ(player->defend, 95);
    EXPECT_TRUE(log().empty()) << "silent corrections end without a message";
}

TEST_F(PlayerUpkeep, HealthIsHeldUnderItsEffectiveMaximum) {
    player->hp = 40;
    pass();
    EXPECT_EQ(player->hp, 30);

    drink("hp+10'5");
    pass();
    EXPECT_EQ(player->hp, 30);
    EXPECT_EQ(player->actual("hp"), 30);
    drink("hpmax-10'5");
    pass();
    EXPECT_EQ(player->hp, 20) << "the stored value falls to the effective maximum";
}

TEST_F(PlayerUpkeep, DeathAtZeroEffectiveHealthEndsTheGameAfterTheNotice) {
    player->hp = 5;
    drink("hp-5'3");
    PassResult result = pass();
    ASSERT_TRUE(result.end);
    EXPECT_EQ(*result.end, GameEnd::Death);
    EXPECT_EQ(backend.notices(), (std::vector<std::string>{"GAME OVER!"}));
}

TEST_F(PlayerHealth, OnePointReturnsOnEveryTwentiethTurnBelowFullHealth) {
    player->hp = 20;
    for (int turn = 1; turn < 20; ++turn)
        pass({hit(kWait)});
    EXPECT_EQ(player->hp, 20);
    EXPECT_EQ(player->lastgain, 19);
    pass({hit(kWait)});
    EXPECT_EQ(player->hp, 21);
    EXPECT_EQ(player->lastgain, 0);
    EXPECT_EQ(newest(), "You regain some constitution.");
    for (int pass_number = 0; pass_number < 5; ++pass_number)
        pass();
    EXPECT_EQ(player->lastgain, 0) << "only turns count";

    player->hp = 30;
    player->lastgain = 7;
    pass({hit(kWait)});
    EXPECT_EQ(player->lastgain, 7) << "at full health the count waits";
}

std::shared_ptr<TTeleport> teleport(int32_t x, int32_t y, int32_t to_x, int32_t to_y) {
    auto made = new_record<TTeleport>();
    made->name = "Portal";
    made->x = x;
    made->y = y;
    made->target_x = to_x;
    made->target_y = to_y;
    tile_grid.at(x, y)->gegenstaende()->append(made);
    return made;
}

TEST_F(PlayerHealth, ATeleportMovesThePlayerInTheTurnItIsEntered) {
    teleport(2, 1, 3, 3);
    teleport(3, 3, 0, 0);
    pass({hit(kRight)});
    EXPECT_EQ(player->x, 3);
    EXPECT_EQ(player->y, 3);
    EXPECT_EQ(log(), (std::vector<std::string>{"Zooom", "You move."}));
    pass({hit(kWait)});
    EXPECT_EQ(player->x, 0) << "the teleport of arrival acts from the next turn on";
    EXPECT_EQ(player->y, 0);
}

TEST_F(PlayerHealth, EveryTeleportOfTheStartingTileActsHiddenOrNot) {
    teleport(1, 1, 4, 4)->secret = 1;
    teleport(1, 1, 2, 4);
    pass({hit(kWait)});
    EXPECT_EQ(player->x, 2);
    EXPECT_EQ(player->y, 4);
    EXPECT_EQ(message_lines[0], "Zooom");
    EXPECT_EQ(message_lines[1], "Zooom");
}

TEST_F(PlayerHealth, ATeleportLeadingOffTheMapOrIntoAnotherMapLeavesThePlayer) {
    teleport(1, 1, 5, 2);
    teleport(1, 1, 2, -1);
    teleport(1, 1, 3, 3)->target_map = "bifs/other.map";
    pass({hit(kWait)});
    EXPECT_EQ(player->x, 1);
    EXPECT_EQ(player->y, 1);
    EXPECT_EQ(log(), (std::vector<std::string>{"Zooom", "Zooom", "Zooom", "You wait a little..."}));
}

// What the panel should show, drawn with the same font at the same places.
}  // namespace
}  // namespace grotmere::testing
