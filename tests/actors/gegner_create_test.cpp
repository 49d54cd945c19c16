#include <gtest/gtest.h>

#include <map>

#include "actors/gegner.hpp"
#include "actors/monster_spawn.hpp"
#include "base/random.hpp"
#include "tests/world/world_test_support.hpp"
#include "world/door.hpp"
#include "world/gegenstand.hpp"
#include "world/karte.hpp"
#include "world/leuchte.hpp"

namespace grotmere {
namespace {

class CreateMonster : public testing::WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        seed_random(7);
        testing::load_into(monster_prototypes,
                           "TGegner { name = Rat  level = 1 }\n"
                           "TGegner { name = Goblin  level = 2  hp = 10 }\n"
                           "TGegner { name = Orc  level = 3 }\n"
                           "TGegner { name = Troll  level = 4 }\n"
                           "TGegner { name = Dragon  level = 5 }\n"
                           "TGegner { name = Goblin  level = 2  hp = 12 }\n");
        testing::make_map(std::vector<std::string>(10, std::string(10, '0')));
    }

    // Runs the spawns quietly and counts the monsters made, by name.
    std::map<std::string, int32_t> spawn_many(int32_t times, const std::string& name, int32_t level,
                                              int32_t abweichung) {
        ::testing::internal::CaptureStdout();
        for (int32_t k = 0; k < times; ++k)
            TGegner::create(name, -1, -1, level, abweichung);
        ::testing::internal::GetCapturedStdout();
        std::map<std::string, int32_t> made;
        monsters->for_each_of<TGegner>([&](std::shared_ptr<TGegner>& m) { ++made[m->name]; });
        return made;
    }

    static std::shared_ptr<TGegner> last_monster() {
        std::vector<RecordRef> all = monsters->records();
        return all.empty() ? nullptr : std::dynamic_pointer_cast<TGegner>(all.back());
    }
};

TEST_F(CreateMonster, ALevelSpawnTakesOnlyKindsWithinTheDeviation) {
    auto made = spawn_many(300, "", 3, 1);
    EXPECT_EQ(made.count("Rat") + made.count("Dragon"), 0U);
    EXPECT_GT(made["Goblin"], 0);
    EXPECT_GT(made["Orc"], 0);
    EXPECT_GT(made["Troll"], 0);
    monsters->clear();
    made = spawn_many(50, "", 3, 0);
    EXPECT_EQ(made, (std::map<std::string, int32_t>{{"Orc", 50}}));
}

TEST_F(CreateMonster, AnyKindSpawnGivesEveryPrototypeTheSameChance) {
    auto made = spawn_many(1200, "", 0, 0);
    EXPECT_EQ(made.size(), 5U);
    for (const auto& [name, count] : made) {
        const int32_t expected = name == "Goblin" ? 400 : 200;  // two Goblin records
        EXPECT_NEAR(count, expected, expected / 4) << name;
    }
}

TEST_F(CreateMonster, ANamedSpawnCopiesTheLastPrototypeOfThatName) {
    ::testing::internal::CaptureStdout();
    TGegner::create("Goblin", 4, 5, 0, 0);
    TGegner::create("goblin", 4, 5, 0, 0);
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "Es wurde ein Goblin an Position (4|5) erstellt.\n") << "names match exactly";
    ASSERT_EQ(monsters->count(), 1);
    auto goblin = last_monster();
    EXPECT_EQ(goblin->hp, 12);
    EXPECT_EQ(goblin->x, 4);
    EXPECT_EQ(goblin->y, 5);
    EXPECT_EQ(message_lines[0], "") << "the creation line is for the console only";

    std::vector<RecordRef> prototypes = monster_prototypes->records();
    EXPECT_NE(goblin->buffs, std::dynamic_pointer_cast<TGegner>(prototypes[5])->buffs)
        << "a live monster has a buff list of its own";
}

// A map's spawns go through one spawner, which looks the kinds up once and prints its lines
// together: the monsters, their places and the lines must be those of single spawns.
TEST_F(CreateMonster, ASpawnerMakesWhatSingleSpawnsMake) {
    auto spawn_all = [](auto&& spawn) {
        // Runs of three: by name, by level at a fixed row, any kind, by level alone.
        for (int32_t k = 0; k < 12; ++k) {
            const int32_t run = k / 3;
            spawn(std::string(run == 0 ? "Goblin" : ""), -1, run == 1 ? 3 : -1, run == 2 ? 0 : 3,
                  run == 1 ? 1 : 0);
        }
    };
    auto made = [] {
        std::string places;
        monsters->for_each_of<TGegner>([&](std::shared_ptr<TGegner>& m) {
            places += m->name + std::to_string(m->x) + "," + std::to_string(m->y) + " ";
        });
        return places;
    };
    ::testing::internal::CaptureStdout();
    spawn_all(spawn_monster);
    const std::string single_lines = ::testing::internal::GetCapturedStdout();
    const std::string single_made = made();
    monsters->clear();
    seed_random(7);
    ::testing::internal::CaptureStdout();
    MonsterSpawner spawner;
    spawn_all([&](auto&&... arguments) { return spawner.spawn(arguments...); });
    spawner.announce();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), single_lines);
    EXPECT_EQ(made(), single_made);
}

TEST_F(CreateMonster, RandomPlacementFindsOnlyOpenTiles) {
    testing::make_map({"1111", "1001", "1111"});
    tile(2, 1).gegenstaende()->append(new_record<TDoor>());
    TKarte::update();
    auto made = spawn_many(20, "Rat", 0, 0);
    monsters->for_each_of<TGegner>([](std::shared_ptr<TGegner>& m) {
        EXPECT_EQ(m->x, 1);
        EXPECT_EQ(m->y, 1);
    });
    EXPECT_EQ(made["Rat"], 20);

    monsters->clear();
    ::testing::internal::CaptureStdout();
    TGegner::create("Rat", 3, 2, 0, 0);
    ::testing::internal::GetCapturedStdout();
    ASSERT_EQ(monsters->count(), 1) << "fixed coordinates are taken as they are, even a wall";
    EXPECT_EQ(last_monster()->x, 3);
}

TEST_F(CreateMonster, AFixedColumnKeepsItsColumn) {
    testing::make_map({"00000", "00000", "00000"});
    ::testing::internal::CaptureStdout();
    for (int32_t k = 0; k < 20; ++k)
        TGegner::create("Rat", 3, -1, 0, 0);
    ::testing::internal::GetCapturedStdout();
    monsters->for_each_of<TGegner>([](std::shared_ptr<TGegner>& m) { EXPECT_EQ(m->x, 3); });
}

TEST_F(CreateMonster, ASingleOpenTileIsFoundEvenWhenTheDrawsMissIt) {
    std::vector<std::string> rows(256, std::string(256, '1'));
    rows[200][17] = '0';
    testing::make_map(rows);
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(spawn_monster("Rat", -1, -1, 0, 0), SpawnOutcome::Created);
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(last_monster()->x, 17);
    EXPECT_EQ(last_monster()->y, 200);
}

TEST_F(CreateMonster, NoOpenTileOrAPositionOffTheMapMakesNoMonsterAndAWarning) {
    testing::make_map({"111", "111"});
    current_map = "bifs/cave.map";
    ::testing::internal::CaptureStderr();
    TGegner::create("Rat", -1, -1, 0, 0);
    TGegner::create("Rat", 1, 2, 0, 0);
    TGegner::create("", -7, 0, 2, 0);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(monsters->count(), 0);
    EXPECT_EQ(err,
              "bifs/cave.map: warning: no open tile for \"Rat\" at (-1|-1); the monster is left "
              "out\n"
              "bifs/cave.map: warning: the spawn of \"Rat\" at (1|2) lies outside the map; "
              "refused\n"
              "bifs/cave.map: warning: the spawn of a monster of level 2 at (-7|0) lies outside "
              "the map; refused\n");
}

TEST_F(CreateMonster, NoKindMakesNothingSilently) {
    monster_prototypes->clear();
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    TGegner::create("", -1, -1, 0, 0);
    TGegner::create("", -1, -1, 9, 0);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(monsters->count(), 0);
}

TEST(CreateFromProto, CopiesTheFirstItemPrototypeOfExactlyThatName) {
    reset_world();
    testing::load_into(item_prototypes,
                       "TGegner { name = Lamp }\n"
                       "TLeuchte { name = Lamp  r = 7 }\n"
                       "TLeuchte { name = Lamp  r = 9 }\n");
    auto item = TGegenstand::create_from_proto("Lamp");
    auto lamp = std::dynamic_pointer_cast<TLeuchte>(item);
    ASSERT_NE(lamp, nullptr) << "a monster record in the item file is no item";
    EXPECT_EQ(lamp->r, 7);
    lamp->r = 50;
    EXPECT_EQ(std::dynamic_pointer_cast<TLeuchte>(TGegenstand::create_from_proto("Lamp"))->r, 7)
        << "the prototype is never changed";
    EXPECT_EQ(TGegenstand::create_from_proto("lamp"), nullptr);
    EXPECT_EQ(TGegenstand::create_from_proto(""), nullptr);
    reset_world();
}

}  // namespace
}  // namespace grotmere
