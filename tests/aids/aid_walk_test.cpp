// The walking aids on the shipped game: each stops in the pass after a monster comes into sight,
// handing over no key in it, and explore never steps onto a cell the player had not seen; a stack
// dropped whole stops so too, letting the drop key go; fire at target readies the bow and shoots
// along a line, and finds nothing to shoot off it.
#include <gtest/gtest.h>

#include <algorithm>

#include "actors/gegner.hpp"
#include "actors/player.hpp"
#include "actors/tastatur.hpp"
#include "aids/aid_keys.hpp"
#include "aids/aid_prompts.hpp"
#include "aids/aid_walk.hpp"
#include "platform/key_codes.hpp"
#include "run/startup.hpp"
#include "shell/end_screen.hpp"
#include "tests/records/definition_test_support.hpp"
#include "tests/support/headless_game.hpp"
#include "view/player_knowledge.hpp"
#include "world/chronicle.hpp"
#include "world/gegenstand.hpp"
#include "world/karten_tile.hpp"
#include "world/teleport.hpp"
#include "world/tile_tracking.hpp"
#include "world/world_state.hpp"

namespace grotmere::testing {
namespace {

class AidWalk : public HeadlessGame {
protected:
    void SetUp() override {
        HeadlessGame::SetUp();
        WorkingDirectory inside(GROTMERE_SOURCE_DIR);
        ::testing::internal::CaptureStdout();
        ASSERT_FALSE(start_game(StartupOptions{1}));
        ::testing::internal::GetCapturedStdout();
        set_window_aids(WindowAids{.on = true});
        for (int32_t key : {'1', '6', '5'})
            pass({hit(key)});
    }
    // Walks with the aid until a Rat, put in the lit hall in sight after `passes`, stops it.
    void expect_stopped_by_a_rat(PassInput keys, int32_t passes) {
        pass(std::move(keys));
        for (int32_t i = 0; i < passes; ++i)
            ASSERT_TRUE(pass().turn_taken) << "the aid walks one key a pass";
        ASSERT_NE(walking(), WalkKind::None);
        TGegner::create("Rat", player->x, player->y + 1, 1, 0);
        EXPECT_FALSE(pass().turn_taken) << "no key in the pass that sees it";
        EXPECT_EQ(walking(), WalkKind::None);
        EXPECT_EQ(walk_said(), "A Rat comes into view.");
    }
    static int32_t arrows() {
        const std::shared_ptr<TGegenstand>& slot = (*player->inventory)[2];
        return slot ? slot->anzahl : 0;
    }
    void walk_until_done(int32_t most = 200) {
        for (int32_t i = 0; i < most && walking() != WalkKind::None; ++i)
            pass();
    }
};

TEST_F(AidWalk, RestRunAndExploreStopWhenAMonsterComesIntoSight) {
    player->hp = 5;
    expect_stopped_by_a_rat({hit(kRestKey)}, 3);
    TearDown();
    SetUp();
    expect_stopped_by_a_rat({hit(kExploreKey)}, 2);
    TearDown();
    SetUp();
    expect_stopped_by_a_rat({press(key::kLeftControl), hit(key::kRight)}, 1);
}

TEST_F(AidWalk, RunStopsAtTheDoorAndAnyKeyStopsAWalk) {
    pass({press(key::kLeftControl), hit(key::kRight), release(key::kLeftControl)});
    for (int32_t i = 0; i < 20 && walking() != WalkKind::None; ++i)
        pass();
    EXPECT_EQ(player->x, 14) << "on the plate beside the hall's east door";
    EXPECT_EQ(walk_said().substr(0, 20), "Stopped: Cut in the ");
    TearDown();
    SetUp();
    player->hp = 5;
    pass({hit(kRestKey)});
    pass();
    const int32_t x = player->x;
    EXPECT_FALSE(pass({hit(key::kLeft)}).turn_taken) << "the key stops the rest, nothing more";
    EXPECT_EQ(walk_said(), "Stopped.");
    EXPECT_EQ(player->x, x);
}

TEST_F(AidWalk, ExploreStepsOnlyOntoCellsSeenAndStopsOnAPlateNotRead) {
    pass({hit(kExploreKey)});
    int32_t steps = 0;
    while (walking() != WalkKind::None && steps < 500) {
        const int32_t x = player->x, y = player->y;
        bool seen[3][3];
        for (int32_t dx = -1; dx <= 1; ++dx)
            for (int32_t dy = -1; dy <= 1; ++dy)
                seen[dx + 1][dy + 1] = cell_seen(x + dx, y + dy);
        pass();
        steps += player->x != x || player->y != y;
        ASSERT_TRUE(seen[player->x - x + 1][player->y - y + 1]) << player->x << "," << player->y;
    }
    EXPECT_GT(steps, 3);
    // On the way to the hall's east door: the plate there has not been read yet.
    EXPECT_EQ(walk_said().substr(0, 26), "Stopped: Cut in the floor:");
}

// A teleport on the straight way is walked around: a walk never takes one the player did not
// choose.
TEST_F(AidWalk, TravelWalksAroundATeleport) {
    const int32_t x = player->x, y = player->y;
    auto portal = new_record<TTeleport>();
    portal->x = x + 1;
    portal->y = y;
    portal->target_x = 1;
    portal->target_y = 1;
    tile_grid.at(x + 1, y)->gegenstaende()->append(portal);
    world_changed_outside_passes();
    start_travel(x + 2, y);
    for (int32_t i = 0; i < 10 && walking() != WalkKind::None; ++i) {
        const int32_t from_x = player->x, from_y = player->y;
        pass();
        ASSERT_LE(std::abs(player->x - from_x) + std::abs(player->y - from_y), 1);
        ASSERT_FALSE(player->x == x + 1 && player->y == y);
    }
    EXPECT_EQ(player->x, x + 2);
    EXPECT_EQ(walk_said(), "You have arrived.");
}

bool has_colour(const Framebuffer& frame, Rgb colour, int32_t x0, int32_t y0, int32_t x1,
                int32_t y1) {
    for (int32_t y = y0; y < y1; ++y) {
        for (int32_t x = x0; x < x1; ++x) {
            if (frame.pixel(x, y) == colour) return true;
        }
    }
    return false;
}

// Thirty rats in the hall: the list of what is in sight gives way to the equipment.
TEST_F(AidWalk, TheCappedPanelStillShowsTheEquipment) {
    for (int32_t i = 0; i < 30; ++i)
        TGegner::create("Rat", 7 + i % 8, 4 + i / 8, 1, 0);
    // Made outside a turn, which the idle-frame watch does not look for.
    frame_watch.noted = false;
    pass();
    const Framebuffer& shot = *backend.last_frame();
    EXPECT_TRUE(has_colour(shot, Rgb{255, 255, 160}, 410, 60, 820, 225)) << "EQUIPMENT";
    EXPECT_TRUE(has_colour(shot, Rgb{150, 150, 150}, 410, 30, 820, 225)) << "and ... more";
    EXPECT_TRUE(has_colour(shot, Rgb{220, 220, 220}, 410, 200, 820, 225)) << "its last line";
}

TEST_F(AidWalk, TheEndScreenTellsTheEndAndReturnStartsAnother) {
    note_harm("Troll");
    const EndScreenFacts facts = end_screen_facts("death", 948, "/tmp/morgue.txt");
    EXPECT_EQ(facts.headline, "Killed by a Troll on turn 948.");
    // As at a game's end: Return and Escape belong to the end screen, not to the aids.
    set_window_aids(WindowAids{});
    backend.queue_pass({});
    backend.queue_pass({hit(key::kReturn)});
    EXPECT_EQ(show_end_screen(facts), AfterTheEnd::NewGame);
    const Framebuffer& shot = *backend.last_frame();
    EXPECT_EQ(shot.pixel(0, 0), (Rgb{12, 12, 28}));
    EXPECT_TRUE(has_colour(shot, Rgb{255, 200, 120}, 0, 30, 820, 50)) << "the headline";
    backend.queue_pass({hit(key::kEscape)});
    EXPECT_EQ(show_end_screen(facts), AfterTheEnd::Quit);
}

TEST_F(AidWalk, AStackDroppedWholeStopsWhenAMonsterComesIntoView) {
    ASSERT_EQ(arrows(), 24);
    pass({hit(kDropStackKey)});
    ASSERT_EQ(open_prompt(), Prompt::Drop);
    pass({hit('3')});
    for (int32_t i = 0; i < 5; ++i)
        ASSERT_FALSE(pass().turn_taken) << "a drop takes no turn";
    EXPECT_EQ(arrows(), 18) << "a piece a pass, from the pass the slot was chosen in";
    EXPECT_EQ(key_down(bindings->drop), 1) << "held by the aid";
    TGegner::create("Rat", player->x + 1, player->y, 1, 0);
    pass();
    EXPECT_EQ(walking(), WalkKind::None);
    EXPECT_EQ(walk_said(), "A Rat comes into view.");
    EXPECT_EQ(arrows(), 18);
    EXPECT_EQ(key_down(bindings->drop), 0) << "let go when the drop stops";
    pass({hit(kDropStackKey)});
    pass({hit('3')});
    walk_until_done();
    EXPECT_EQ(arrows(), 0);
    EXPECT_EQ(walk_said(), "Dropped 18 Arrows.");
}

// A rat sees three tiles: the one three tiles off comes along the line, the other wanders.
TEST_F(AidWalk, FireAtTargetReadiesTheBowAndShootsAlongALine) {
    pass({hit('2')});  // the bow
    TGegner::create("Rat", player->x + 3, player->y, 1, 0);
    TGegner::create("Rat", player->x - 4, player->y, 1, 0);
    pass({hit(kFireKey)});
    ASSERT_EQ(open_prompt(), Prompt::Target);
    EXPECT_EQ(target_cell()->x, player->x + 3) << "the nearest first";
    pass({hit(key::kTab)});
    EXPECT_EQ(target_cell()->x, player->x - 4);
    pass({hit(kFireKey)});
    EXPECT_EQ(target_cell()->x, player->x + 3) << "and round again";
    pass({hit(key::kReturn)});
    walk_until_done(5);
    EXPECT_EQ(player->attackmode, 1) << "readied by the aid";
    EXPECT_EQ(arrows(), 23) << "one shot";
    EXPECT_NE(std::find(message_lines.begin(), message_lines.end(), "Short Bow fired!"),
              message_lines.end());
}

TEST_F(AidWalk, FireAtTargetFindsNothingToShootOffTheLine) {
    pass({hit('2')});
    TGegner::create("Rat", player->x + 1, player->y - 2, 1, 0);
    pass({hit(kFireKey)});
    EXPECT_EQ(open_prompt(), Prompt::None);
    EXPECT_EQ(walk_said(), "No monster in a straight line within 6 tiles.");
    EXPECT_EQ(arrows(), 24);
}

}  // namespace
}  // namespace grotmere::testing
