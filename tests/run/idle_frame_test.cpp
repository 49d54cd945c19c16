// A pass in which nothing the frame shows has changed does not look at the world at all. These
// tests find out whether a pass looked with a probe: a line written into the log behind the main
// loop's back, which reaches the screen only when the frame is looked at.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "actors/munition.hpp"
#include "platform/drawing.hpp"
#include "tests/actors/player_game.hpp"
#include "world/message_log.hpp"
#include "world/world_state.hpp"

namespace grotmere::testing {
namespace {

class IdleFrames : public PlayerGame {
protected:
    void SetUp() override {
        PlayerGame::SetUp();
        // The probe is a change the loop is not told of: checked, it would be caught.
        check_unchanged_frames(false);
        place(1, 2);
        pass();
    }

    bool looks(PassInput input = {}) {
        message_lines[8] = "probe " + std::to_string(++probes_);
        const int64_t before = backend.presents();
        pass(std::move(input));
        return backend.presents() != before;
    }

    // Passes until one does not look; how many looked.
    int32_t looking_passes() {
        int32_t looked = 0;
        while (looked < 100 && looks())
            ++looked;
        return looked;
    }

    int32_t probes_ = 0;
};

TEST_F(IdleFrames, AnUntoldChangeStaysUnseenUntilTheLoopIsTold) {
    EXPECT_FALSE(looks());
    EXPECT_FALSE(looks());
    world_changed_outside_passes();
    EXPECT_TRUE(looks());
    EXPECT_FALSE(looks());

    check_unchanged_frames(true);
    message_lines[8] = "behind the loop's back";
    EXPECT_THROW(pass(), std::logic_error) << "checking catches the stale picture";
}

TEST_F(IdleFrames, KeysAndLogLinesAreLookedAt) {
    EXPECT_TRUE(looks({hit(kToggleInv)})) << "a hit taken without a turn";
    EXPECT_FALSE(looks());
    EXPECT_TRUE(looks({hit(kWait)})) << "a turn";
    EXPECT_FALSE(looks());
    EXPECT_TRUE(looks({press(kLeftShift)})) << "a key going down";
    EXPECT_FALSE(looks()) << "held, it changes nothing";
    EXPECT_TRUE(looks({release(kLeftShift)}));
    log_message("Told by anyone");
    EXPECT_TRUE(looks());
    EXPECT_FALSE(looks());
}

TEST_F(IdleFrames, AFlyingMissileIsLookedAtUntilItLands) {
    wield("Short Bow", 2, 5, "-Arrow-");
    auto arrows = new_record<TMunition>();
    arrows->name = "Arrow";
    arrows->anzahl = 3;
    (*player->inventory)[0] = arrows;
    player->attackmode = 1;
    world_changed_outside_passes();
    EXPECT_TRUE(looks());
    EXPECT_TRUE(looks({hit(kRight)})) << "the shot";
    ASSERT_EQ(missiles->count(), 1);
    EXPECT_GE(looking_passes(), 2) << "every pass of its flight";
    EXPECT_TRUE(missiles->empty());
    EXPECT_FALSE(looks());
}

TEST_F(IdleFrames, TheUpkeepsCorrectionsAndLevelRisesAreLookedAt) {
    player->attack = 150;
    world_changed_outside_passes();
    EXPECT_EQ(looking_passes(), 100) << "a capped attack is corrected anew on every pass";

    player->attack = 50;
    player->xp = TPlayer::calc_level(4);
    world_changed_outside_passes();
    EXPECT_GE(looking_passes(), 3) << "one level a pass";
    EXPECT_EQ(player->level, 4);
    EXPECT_FALSE(looks());
}

}  // namespace
}  // namespace grotmere::testing
