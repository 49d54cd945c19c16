// Missiles in flight: one step per pass, range, walls, the map edge, the monsters and the player
// on the way, darkness, armour; and the player's firing that launches them.
#include <gtest/gtest.h>

#include "actors/geschoss.hpp"
#include "actors/munition.hpp"
#include "actors/waffe.hpp"
#include "tests/actors/player_game.hpp"
#include "tests/actors/rolls.hpp"
#include "world/tile_writes.hpp"

namespace grotmere::testing {
namespace {

class Missiles : public PlayerGame {
protected:
    void SetUp() override {
        PlayerGame::SetUp();
        map(std::vector<std::string>(12, std::string(12, '0')));
        light_everywhere(100);
        place(0, 11);
    }

    static void light_everywhere(int32_t lichtstaerke) {
        for (int32_t x = 0; x < map_width; ++x) {
            for (int32_t y = 0; y < map_height; ++y)
                write_tile(x, y)->lichtstaerke = lichtstaerke;
        }
    }
    static std::shared_ptr<TGeschoss> launch(int32_t richtung, int32_t reichweite, int32_t dmg,
                                             int32_t x, int32_t y, int32_t skill) {
        TGeschoss::create(richtung, reichweite, dmg, x, y, skill);
        return std::static_pointer_cast<TGeschoss>(missiles->records().back());
    }
    static std::pair<int32_t, int32_t> at(const TGeschoss& missile) {
        return {missile.x, missile.y};
    }
};

using Firing = Missiles;

TEST_F(Missiles, OneTilePerPassUpToItsRange) {
    auto near = monster("Near", 8, 5, 50);
    auto far = monster("Far", 9, 5, 50);
    auto arrow = launch(2, 3, 1, 5, 5, 200);
    auto stray = launch(2, 3, 1, 5, 7, 200);
    TGeschoss::update();
    EXPECT_EQ(at(*arrow), std::pair(6, 5));
    TGeschoss::update();
    EXPECT_EQ(at(*arrow), std::pair(7, 5));
    EXPECT_EQ(missiles->count(), 2);
    TGeschoss::update();
    EXPECT_EQ(at(*arrow), std::pair(8, 5));
    EXPECT_EQ(at(*stray), std::pair(8, 7));
    EXPECT_TRUE(missiles->empty()) << "both at the end of their range";
    EXPECT_EQ(near->hp, 49) << "the last tile of the range is still tested";
    TGeschoss::update();
    EXPECT_EQ(far->hp, 50);
}

TEST_F(Missiles, NeverItsShooterAndNotPastAWall) {
    auto shooter = monster("Shooter", 5, 5, 50);
    launch(3, 9, 1, 5, 5, 200);
    // A monster standing in the wall, as a data file may place one, is still tested there.
    write_tile(5, 3)->ID = TKarte::MAP_SOLID;
    TKarte::update();
    auto walled = monster("Walled", 5, 3, 50);
    auto beyond = monster("Beyond", 5, 2, 50);
    for (int32_t k = 0; k < 4; ++k)
        TGeschoss::update();
    EXPECT_EQ(shooter->hp, 50);
    EXPECT_EQ(walled->hp, 49);
    EXPECT_EQ(beyond->hp, 50);
    EXPECT_TRUE(missiles->empty());
}

TEST_F(Missiles, LeavingTheMapStopsSilentlyWithoutReadingATile) {
    auto off_map = monster("Ghost", 12, 4, 50);
    auto arrow = launch(2, 9, 1, 11, 4, 100);
    TGeschoss::update();
    EXPECT_EQ(at(*arrow), std::pair(12, 4));
    EXPECT_TRUE(missiles->empty());
    EXPECT_EQ(off_map->hp, 50) << "off the map is dark: skill 100 never strikes there";
    const std::pair<int32_t, int32_t> corners[] = {{0, 0}, {11, 0}, {0, 11}, {11, 11}};
    for (const auto& [x, y] : corners) {
        for (int32_t richtung = 0; richtung <= 5; ++richtung)
            launch(richtung, 3, 1, x, y, 100);
    }
    for (int32_t k = 0; k < 4; ++k)
        TGeschoss::update();
    EXPECT_TRUE(missiles->empty()) << "a missile with no direction stays and runs out of range";
}

TEST_F(Missiles, EveryMonsterOnTheTileIsTestedAndTheDeadLeaveDuringTheWalk) {
    auto first = monster("Orc", 6, 5, 3);
    first->xp = 4;
    auto second = monster("Bat", 6, 5, 30);
    launch(2, 5, 10, 5, 5, 200);
    seed_rolling({{1, 100, 90}, {1, 10, 8}});
    TGeschoss::update();
    ASSERT_EQ(log().size(), 3U);
    EXPECT_EQ(log()[2], "Orc was hit for 8 points.");
    EXPECT_EQ(log()[1], "Orc is dead!");
    EXPECT_EQ(log()[0].rfind("Bat was hit for ", 0), 0U) << "skill 200 strikes even so";
    EXPECT_EQ(monsters->records(), std::vector<RecordRef>{second});
    EXPECT_EQ(player->xp, 4);
    EXPECT_LT(second->hp, 30);
    EXPECT_TRUE(missiles->empty());
}

TEST_F(Missiles, DarknessTakesOffTheSkill) {
    auto target = monster("Target", 6, 5, 1 << 30);
    const std::pair<int32_t, int32_t> light_and_highest_striking_roll[] = {{100, 70}, {50, 20}};
    for (const auto& [light, highest] : light_and_highest_striking_roll) {
        light_everywhere(light);
        for (const int32_t roll : {1, highest, highest + 1}) {
            seed_rolling({{1, 100, roll}});
            const int32_t before = target->hp;
            launch(2, 5, 1, 5, 5, 70);
            TGeschoss::update();
            EXPECT_EQ(before - target->hp, roll <= highest ? 1 : 0)
                << "light " << light << ", roll " << roll;
        }
    }
    light_everywhere(0);
    message_lines.fill("");
    seed_random(1);
    const int32_t before = target->hp;
    for (int32_t k = 0; k < 100; ++k) {
        launch(2, 5, 1, 5, 5, 70);
        TGeschoss::update();
    }
    EXPECT_EQ(target->hp, before);
    EXPECT_TRUE(log().empty()) << "a miss is silent";
}

TEST_F(Missiles, ArmourAtLeastTheDamageStopsEveryStrike) {
    auto knight = monster("Knight", 6, 5, 50);
    knight->RS = 4;
    place(5, 6);
    player->rs = 4;
    seed_random(2);
    for (int32_t k = 0; k < 50; ++k) {
        launch(2, 5, 4, 5, 5, 200);
        launch(4, 5, 4, 5, 5, 200);
        TGeschoss::update();
    }
    EXPECT_EQ(knight->hp, 50);
    EXPECT_EQ(player->hp, 30);
    EXPECT_TRUE(log().empty());
}

TEST_F(Missiles, ThePlayerIsHitWithoutParryOrWornArmour) {
    place(5, 8);
    player->defend = 100;
    launch(4, 5, 1, 5, 5, 200);
    for (int32_t k = 0; k < 3; ++k)
        TGeschoss::update();
    EXPECT_EQ(player->hp, 29);
    EXPECT_EQ(newest(), "You were hit for 1 points.");
}

TEST_F(Missiles, AMonstersShotStopsAtAnotherMonsterInItsWay) {
    map({"1111111", "1000001", "1111111"});
    light_everywhere(100);
    place(5, 1);
    auto archer = monster("Archer", 1, 1, 50);
    archer->attack_range = 5;
    archer->range_dmg = 3;
    archer->attack = 200;
    auto orc = monster("Orc", 3, 1, 50);
    orc->attack_range = 0;
    TGegner::update();
    EXPECT_EQ(newest(), "You are attacked by Archer");
    for (int32_t k = 0; k < 5; ++k)
        TGeschoss::update();
    EXPECT_TRUE(missiles->empty());
    EXPECT_LT(orc->hp, 50);
    EXPECT_EQ(player->hp, 30);
}

TEST_F(Missiles, MissilesFlyInEveryPassWithoutATurn) {
    launch(4, 9, 1, 3, 0, 0);
    for (int32_t k = 0; k < 3; ++k)
        EXPECT_FALSE(pass().turn_taken);
    EXPECT_EQ(std::static_pointer_cast<TGeschoss>(missiles->first())->y, 3);
}

std::shared_ptr<TMunition> ready_bow_with_arrows(int32_t anzahl) {
    player->waffe = new_record<TWaffe>();
    player->waffe->name = "Short Bow";
    player->waffe->dmg = 2;
    player->waffe->reichweite = 6;
    player->waffe->munition = "-Arrow-";
    player->attackmode = 1;
    auto arrows = new_record<TMunition>();
    arrows->name = "Arrow";
    arrows->anzahl = anzahl;
    arrows->dmg = 1;
    (*player->inventory)[2] = arrows;
    return arrows;
}

TEST_F(Firing, EachShotTakesAnArrowAndTheLastEmptiesItsSlot) {
    place(5, 5);
    auto arrows = ready_bow_with_arrows(2);
    EXPECT_TRUE(pass({hit(kUp)}).turn_taken);
    EXPECT_EQ(newest(), "Short Bow fired!");
    EXPECT_EQ(arrows->anzahl, 1);
    ASSERT_EQ(missiles->count(), 1);
    auto arrow = std::static_pointer_cast<TGeschoss>(missiles->first());
    EXPECT_EQ((std::array{arrow->richtung, arrow->dmg, arrow->x, arrow->y}),
              (std::array{3, 3, 5, 4}))
        << "weapon dmg plus the arrow's; the first step in the same pass";

    EXPECT_TRUE(pass({hit(kLeft), hit(kDown)}).turn_taken);
    EXPECT_EQ(std::static_pointer_cast<TGeschoss>(missiles->records().back())->richtung, 1)
        << "left is tried before down";
    EXPECT_EQ((*player->inventory)[2], nullptr);
    EXPECT_FALSE(pass({hit(kDown)}).turn_taken);
    EXPECT_EQ(newest(), "Out of Ammo!");
}

TEST_F(Firing, AnItemThatIsNoAmmunitionIsNeverShot) {
    place(5, 5);
    ready_bow_with_arrows(2);
    auto fake = new_record<TGegenstand>();
    fake->name = "Arrow";
    fake->anzahl = 2;
    (*player->inventory)[0] = fake;
    EXPECT_FALSE(pass({hit(kRight), hit(kUp)}).turn_taken);
    EXPECT_TRUE(missiles->empty());
    EXPECT_EQ(fake->anzahl, 2);
    EXPECT_TRUE(log().empty());
}

}  // namespace
}  // namespace grotmere::testing
