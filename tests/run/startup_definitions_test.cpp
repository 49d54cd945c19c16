#include <gtest/gtest.h>

#include <set>

#include "actors/gegner.hpp"
#include "actors/player.hpp"
#include "actors/tastatur.hpp"
#include "actors/waffe.hpp"
#include "run/startup_definitions.hpp"
#include "tests/records/definition_test_support.hpp"

namespace grotmere {
namespace {

using testing::RecordTest;
using testing::ScratchDir;
using testing::WorkingDirectory;

class StartupDefinitionsTest : public RecordTest {
protected:
    void write_all() {
        dir.write(kItemFile, "TWaffe { name = Club }");
        dir.write(kMonsterFile, "TGegner { name = Rat }");
        dir.write(kBindingFile, "TTastatur { go_left = 37 }");
        dir.write(kPlayerFile, "TPlayer { name = Hero hp = 30 }\nTWaffe { name = Club }");
    }

    ScratchDir dir;
};

TEST_F(StartupDefinitionsTest, FillsTheListsAndTakesBindingsAndPlayerFromTheirFirstRecords) {
    write_all();
    WorkingDirectory inside(dir.root());
    EXPECT_FALSE(load_prototypes());
    EXPECT_FALSE(load_bindings_and_player());
    EXPECT_EQ(item_prototypes->count(), 1);
    EXPECT_EQ(monster_prototypes->count(), 1);
    ASSERT_NE(bindings, nullptr);
    EXPECT_EQ(bindings->go_left, 37);
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->name, "Hero");
    EXPECT_EQ(player_list->count(), 2);
}

TEST_F(StartupDefinitionsTest, AFileThatCannotBeOpenedStopsTheStart) {
    write_all();
    std::filesystem::remove(dir.path(kMonsterFile));
    WorkingDirectory inside(dir.root());
    auto failure = load_prototypes();
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->status, 0);
    EXPECT_NE(failure->message.find("bifs/prototypen.bif cannot be opened"), std::string::npos);
}

TEST_F(StartupDefinitionsTest, BindingAndPlayerFilesMustBeginWithTheirRecord) {
    write_all();
    dir.write(kBindingFile, "TWaffe { name = x }\nTTastatur { go_left = 37 }");
    {
        WorkingDirectory inside(dir.root());
        auto failure = load_bindings_and_player();
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->message, "bifs/Tastatur.bif does not begin with a TTastatur record");
    }
    reset_world();
    write_all();
    dir.write(kPlayerFile, "TFoo { }\n");
    WorkingDirectory inside(dir.root());
    auto failure = load_bindings_and_player();
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message, "bifs/player.bif does not begin with a TPlayer record");
    EXPECT_NE(failure->status, 0);
}

// The files the game ships with load cleanly and give every command a key.
TEST_F(StartupDefinitionsTest, TheShippedFilesLoadWithoutProblems) {
    WorkingDirectory inside(GROTMERE_SOURCE_DIR);
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(load_prototypes());
    EXPECT_FALSE(load_bindings_and_player());
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(load_problems.empty());

    std::set<std::string> item_types;
    item_prototypes->for_each(
        [&](RecordRef& item) { item_types.insert(TTypeId::ForObject(*item)->Name()); });
    EXPECT_EQ(item_types, (std::set<std::string>{"TGegenstand", "TWaffe", "TPanzer", "TMunition",
                                                 "TTrank", "TLeuchte", "TKey"}));
    int32_t ranged = 0;
    item_prototypes->for_each_of<TWaffe>([&](std::shared_ptr<TWaffe>& weapon) {
        if (weapon->reichweite > 0 && weapon->munition.find("-Arrow-") != std::string::npos)
            ++ranged;
    });
    EXPECT_GE(ranged, 1);

    int32_t shooters = 0;
    monster_prototypes->for_each_of<TGegner>([&](std::shared_ptr<TGegner>& monster) {
        if (monster->attack_range > 1 && monster->range_dmg > 0) ++shooters;
    });
    EXPECT_GE(shooters, 1);

    std::set<int32_t> keys;
    for (const TField* field : TTypeId::Of<TTastatur>().EnumFields()) {
        int32_t code = field->GetInt(*bindings);
        EXPECT_GT(code, 0) << field->Name() << " has no key";
        EXPECT_TRUE(keys.insert(code).second) << field->Name() << " shares its key";
    }
    EXPECT_EQ(player->hp, 30);
    EXPECT_GE(player->x, 0);
    EXPECT_LT(player->x, 80);
    EXPECT_GE(player->y, 0);
    EXPECT_LT(player->y, 25);
}

}  // namespace
}  // namespace grotmere
