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
    game_wait();
    EXPECT_EQ(game_keys.take_close_request(), 1) << "a recording that runs out ends the game";
    EXPECT_EQ(timer.consumed, 3);
}

TEST_F(Replay, SpacePausesWithoutRunningAPassUntilSpaceAgain) {
    game_wait({hit(key::kSpace)});
    EXPECT_TRUE(replay.paused());
    window.queue_pass({});
    window.queue_pass({hit(key::kSpace)});
    replay.hold(false);
    EXPECT_EQ(window.passes(), 3) << "the playback waited through the pause";
    EXPECT_FALSE(replay.paused());
    EXPECT_EQ(game_keys.take_hits(key::kSpace), 0);
}

TEST_F(Replay, TheSeekKeysAskToGoElsewhereAndEndAHold) {
    auto asked = [this](PassInput window_keys) {
        window.queue_pass(std::move(window_keys));
        replay.hold(true);
        const std::optional<SeekRequest> seek = replay.take_seek();
        return seek ? std::pair(seek->kind, seek->turns) : std::pair(SeekRequest::Kind::By, -999L);
    };
    using Kind = SeekRequest::Kind;
    EXPECT_EQ(asked({hit(key::kRight), hit(key::kPageUp)}), std::pair(Kind::By, -99L));
    EXPECT_EQ(asked({hit(key::kHome)}), std::pair(Kind::To, 0L));
    EXPECT_EQ(asked({hit(key::kEnd)}), std::pair(Kind::End, 0L));
    for (PassInput keys : std::vector<PassInput>{{hit(key::letter('g'))},
                                                 {hit(key::digit(4))},
                                                 {hit(key::kEscape)},
                                                 {hit(key::letter('g'))},
                                                 {hit(key::keypad_digit(1))}})
        window.queue_pass(keys);
    EXPECT_EQ(asked({hit(key::digit(2)), hit(key::kReturn)}), std::pair(Kind::To, 12L))
        << "Escape forgets the turn typed without stopping the playback";
    EXPECT_FALSE(replay.stopped());
    EXPECT_EQ(asked({hit(key::letter('g')), hit(key::digit(3)), hit(key::digit(0)),
                     hit(key::digit(0)), hit(key::digit(0)), hit(key::kReturn)}),
              std::pair(Kind::To, 3000L))
        << "a number typed within one pass keeps its order and its repeated digits";
}

// A seek's picture is shown before its turn is known: while paused, the line under the map
// catches up at once, not one seek later.
TEST_F(Replay, TheLineUnderTheMapFollowsASeekWhilePaused) {
    const Framebuffer picture(820, 470);
    game_wait({hit(key::kSpace)});
    replay.set_position(3, 10);
    replay.present(picture);
    replay.set_position(7, 10);
    window.queue_pass({hit(key::kEscape)});
    replay.hold(false);
    const Framebuffer shown = *window.last_frame();
    replay.present(picture);
    EXPECT_TRUE(shown == *window.last_frame()) << "the paused picture names turn 7";
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
