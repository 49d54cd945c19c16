// The shipped dungeon played from the start to the stair, in the real start-up and main loop with
// the shipped keys, by the scripted route player (route/route_player.hpp) on the shipped route.
// One seed replays one game; this one must end in an escape.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <set>
#include <vector>

#include "actors/gegner.hpp"
#include "actors/player.hpp"
#include "aids/aid_keys.hpp"
#include "aids/aid_walk.hpp"
#include "platform/keyboard.hpp"
#include "replay/data_hash.hpp"
#include "replay/recording.hpp"
#include "replay/state_digest.hpp"
#include "route/route_player.hpp"
#include "run/startup.hpp"
#include "tests/records/definition_test_support.hpp"
#include "tests/support/headless_game.hpp"

namespace grotmere::testing {
namespace {

using route::Goal;

// Of the first 30 seeds this player escapes in 20; four of the others fall to the minotaur.
constexpr int32_t kSeed = 1;

class ShippedRoute : public HeadlessGame {
protected:
    void SetUp() override {
        HeadlessGame::SetUp();
        WorkingDirectory inside(GROTMERE_SOURCE_DIR);
        ::testing::internal::CaptureStdout();
        ASSERT_FALSE(start_game(StartupOptions{seed()}));
        ::testing::internal::GetCapturedStdout();
        // The golden replays are cut from this player's games (tests/replays/golden_replays.py).
        if (const char* path = std::getenv("GROTMERE_ROUTE_RECORDING")) {
            recorder_.open(create_replacement(path), seed(), app_title, data_files_hash("bifs"),
                           state_digest);
            keyboard().set_listener(&recorder_);
        }
    }
    void TearDown() override {
        keyboard().set_listener(nullptr);
        recorder_.close();
        HeadlessGame::TearDown();
    }

    static int32_t seed() {
        const char* given = std::getenv("GROTMERE_ROUTE_SEED");
        return given ? std::atoi(given) : kSeed;
    }

    // The player, its passes ending the recorder's passes.
    route::RoutePlayer player_for(bool aided) {
        route::RoutePlayer route(backend, aided);
        route.after_pass = [this] { recorder_.end_pass(); };
        return route;
    }

    GameRecorder recorder_;
};

std::vector<Goal> route_goals() {
    using K = Goal::Kind;
    const std::set<int32_t> none, iron{1}, both{1, 2};
    return {
        {K::Visit, 50, 6, none},  // the plate that raises the portcullis
        {K::Hunt, 0, 0, none},
        {K::Rest},
        {K::Visit, 55, 22, iron},  // through the Iron Door
        {K::Hunt, 0, 0, iron},
        {K::Rest},
        {K::Visit, 82, 28, both},  // through the Brass Door
        {K::Hunt, 0, 0, both, "", "Minotaur"},
        {K::Rest},
        {K::Hunt, 0, 0, both, "Minotaur"},
        {K::Visit, 60, 59, both},  // the lever
        {K::Use},
        {K::Visit, 94, 55, both},  // the stair
    };
}

TEST_F(ShippedRoute, APlainPlayerClearsTheDungeonAndEscapes) {
    const std::vector<Goal> goals = route_goals();
    route::RoutePlayer route = player_for(false);
    // Arm first: the sword, the jerkin, the torch.
    for (int32_t key : {'1', '6', '5'})
        route.pass({hit(key)});
    ASSERT_TRUE(player->waffe && player->panzer && player->leuchte);

    const std::optional<GameEnd> end = route.play(goals);
    ASSERT_TRUE(end) << "stuck at goal " << route.goal << " at " << player->x << "," << player->y
                     << " " << route.stuck;
    EXPECT_EQ(*end, GameEnd::Escaped)
        << "died at goal " << route.goal << " at " << player->x << "," << player->y << " level "
        << player->level << ": " << message_lines[0] << " / " << message_lines[1] << " / "
        << message_lines[2];
    EXPECT_EQ(route.goal, goals.size() - 1);
    EXPECT_GE(player->level, 4);
    for (const RecordRef& record : monsters->records()) {
        EXPECT_EQ(static_cast<TGegner&>(*record).name, "Hoarder")
            << "only the hoarders behind the hidden doors are left";
    }
}

// The same player with the window's aids: it explores the start hall up to its plate, rests with
// one key and travels by clicks, and reaches the stair with at most a third of the presses.
TEST_F(ShippedRoute, WithTheAidsAThirdOfThePressesReachTheStair) {
    int32_t plain = 0;
    {
        route::RoutePlayer route = player_for(false);
        for (int32_t key : {'1', '6', '5'})
            route.pass({hit(key)});
        ASSERT_EQ(route.play(route_goals()), GameEnd::Escaped);
        plain = route.presses + 3;
    }
    TearDown();
    SetUp();
    set_window_aids(WindowAids{.on = true});
    route::RoutePlayer route = player_for(true);
    // Resting costs one key now, so a potion is drunk a little earlier instead of a rest.
    route.potion_below = 3;
    for (int32_t key : {int32_t{'1'}, int32_t{'6'}, int32_t{'5'}, kExploreKey})
        route.pass({hit(key)});
    while (walking() != WalkKind::None)
        route.pass({});
    // Explore stops on the hall's carved plate, whose words the player has not read yet.
    EXPECT_EQ(walk_said().substr(0, 26), "Stopped: Cut in the floor:");
    const std::optional<GameEnd> end = route.play(route_goals());
    EXPECT_EQ(end, GameEnd::Escaped) << "at goal " << route.goal << " at " << player->x << ","
                                     << player->y << ": " << message_lines[0];
    EXPECT_LE((route.presses + 4) * 3, plain) << "plain " << plain;
    std::printf("presses: plain %d, with the aids %d\n", plain, route.presses + 4);
}

}  // namespace
}  // namespace grotmere::testing
