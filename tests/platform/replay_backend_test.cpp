// A recording played back in a window: the recorded input reaches the game one pass at a time,
// the window's own keys steer the playback and never reach the game.
#include "platform/replay_backend.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "platform/key_codes.hpp"

namespace grotmere {
namespace {

InputEvent hit(int32_t code) {
    return {InputEvent::Kind::Hit, code};
}

class Replay : public ::testing::Test {
protected:
    // One wait of the game; the window's keys arrive during the playback's own wait.
    void game_wait(PassInput window_keys = {}) {
        window.queue_pass(std::move(window_keys));
        replay.wait_for_tick(timer, game_keys);
    }

    HeadlessBackend window;
    std::vector<PassInput> recorded{{hit(key::letter('a'))}, {hit(key::letter('b'))}};
    size_t next = 0;
    ReplayBackend replay{window,
                         [this]() -> std::optional<PassInput> {
                             if (next >= recorded.size()) return std::nullopt;
                             return recorded[next++];
                         },
                         1.0};
    KeyboardState game_keys;
    FrameTimer timer{20, 0, 0};
};

TEST_F(Replay, HandsTheGameOneRecordedPassPerWaitThenClosesTheWindow) {
    game_wait();
    EXPECT_EQ(game_keys.take_hits(key::letter('a')), 1);
    game_wait({hit(key::letter('b'))});
    EXPECT_EQ(game_keys.take_hits(key::letter('b')), 1) << "the recorded b, not the window's";
    EXPECT_EQ(game_keys.take_close_request(), 0);
    // Run out, the playback holds its last picture, with the line saying so, until a key.
    window.queue_pass({});
    window.queue_pass({});
    window.queue_pass({hit(key::letter('q'))});
    replay.present(Framebuffer(820, 470));
    replay.wait_for_tick(timer, game_keys);
    EXPECT_EQ(window.passes(), 5) << "two waits for the end";
    EXPECT_NE(window.last_frame()->pixel(411, 252), (Rgb{})) << "the replay's line";
    EXPECT_EQ(game_keys.take_close_request(), 1) << "a recording that runs out ends the game";
    EXPECT_EQ(timer.consumed, 3);
}

TEST_F(Replay, SpacePausesWithoutRunningAPassUntilSpaceAgain) {
    window.queue_pass({hit(key::kSpace)});
    window.queue_pass({});
    window.queue_pass({hit(key::kSpace)});
    replay.wait_for_tick(timer, game_keys);
    EXPECT_EQ(window.passes(), 3) << "the playback waited through the pause";
    EXPECT_FALSE(replay.paused());
    EXPECT_EQ(game_keys.take_hits(key::letter('a')), 1);
    EXPECT_EQ(game_keys.take_hits(key::kSpace), 0);
}

TEST_F(Replay, PlusAndMinusChangeTheSpeedWithinItsLimits) {
    game_wait({hit(187)});
    EXPECT_EQ(replay.speed(), 2.0);
    game_wait({hit(109), hit(189)});
    EXPECT_EQ(replay.speed(), 1.0) << "either minus key halves it, once a pass";
    ReplayBackend fast{window, [] { return std::optional<PassInput>(); }, 1000.0};
    EXPECT_EQ(fast.speed(), ReplayBackend::kFastest);
}

TEST_F(Replay, EscapeOrClosingTheWindowStopsThePlayback) {
    game_wait({hit(key::kEscape)});
    EXPECT_TRUE(replay.stopped());
    EXPECT_EQ(game_keys.take_close_request(), 1);
    EXPECT_EQ(game_keys.take_hits(key::letter('a')), 0);
}

}  // namespace
}  // namespace grotmere
