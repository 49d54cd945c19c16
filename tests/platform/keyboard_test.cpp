#include <gtest/gtest.h>

#include "platform/keyboard.hpp"
#include "platform/platform.hpp"
#include "tests/support/headless_game.hpp"

namespace grotmere {
namespace {

TEST(Keyboard, CountsPressesNotPolls) {
    KeyboardState keys;
    keys.press(65);
    keys.release(65);
    keys.press(65);
    keys.release(65);
    EXPECT_EQ(keys.take_hits(65), 2) << "pressed twice between two tests";
    EXPECT_EQ(keys.take_hits(65), 0) << "a test resets the count";

    keys.press(66);
    keys.press(66);  // key repeat of a held key
    keys.press(66);
    EXPECT_EQ(keys.is_down(66), 1);
    EXPECT_EQ(keys.take_hits(66), 1);
    keys.release(66);
    EXPECT_EQ(keys.is_down(66), 0);
}

// Keys typed faster than the passes (ten in one pass, as 5 ms apart) each get a pass of their own,
// in the order typed; none is lost.
TEST(Keyboard, PressesFasterThanThePassesWaitTheirTurn) {
    KeyboardState keys;
    keys.set_one_press_per_pass(true);
    const int32_t typed[] = {37, 38, 39, 40, 37, 37, 38, 65, 66, 67, 68, 69, 70, 71, 72, 73};
    keys.begin_pass();
    for (int32_t code : typed) {
        keys.press(code);
        keys.release(code);
    }
    for (int32_t code : typed) {
        EXPECT_EQ(keys.take_hits(code), 1) << code;
        keys.begin_pass();
    }
    EXPECT_EQ(keys.waiting_presses(), 0u);
}

TEST(Keyboard, UnreadHitsKeepCounting) {
    KeyboardState keys;
    for (int i = 0; i < 3; ++i) {
        keys.press(38);
        keys.release(38);
    }
    EXPECT_EQ(keys.take_hits(38), 3);
}

TEST(Keyboard, FocusChangeForgetsEverything) {
    KeyboardState keys;
    keys.press(37);
    keys.press(160);
    keys.clear_all();
    EXPECT_EQ(keys.take_hits(37), 0);
    EXPECT_EQ(keys.is_down(160), 0);
    keys.press(160);
    EXPECT_EQ(keys.take_hits(160), 1) << "a key held through the focus change counts again";
}

TEST(Keyboard, CodesOutsideTheTableAreNeverDownOrHit) {
    KeyboardState keys;
    for (int32_t code : {0, -1, 256, 1000, INT32_MIN}) {
        keys.press(code);
        EXPECT_EQ(keys.is_down(code), 0) << code;
        EXPECT_EQ(keys.take_hits(code), 0) << code;
    }
}

TEST(Keyboard, CloseRequestIsReadOnce) {
    KeyboardState keys;
    EXPECT_EQ(keys.take_close_request(), 0);
    keys.request_close();
    EXPECT_EQ(keys.take_close_request(), 1);
    EXPECT_EQ(keys.take_close_request(), 0);
}

TEST(Keyboard, HitsWithAltHeldAreCountedApartAndForgottenWithTheRest) {
    KeyboardState keys;
    keys.press(13);
    keys.release(13);
    keys.press(165);
    keys.press(13);
    keys.release(13);
    keys.release(165);
    EXPECT_EQ(keys.take_alt_hits(13), 1) << "the chord is seen after Alt is up again";
    EXPECT_EQ(keys.take_alt_hits(13), 0);
    EXPECT_EQ(keys.take_hits(13), 2) << "plain hits count every press";
    keys.press(164);
    keys.press(13);
    keys.drop_hits();
    EXPECT_EQ(keys.take_alt_hits(13), 0);
    EXPECT_EQ(keys.is_down(164), 1) << "dropping hits leaves keys down";
    EXPECT_EQ(keys.take_alt_hits(300), 0);
}

// The version is what tells the main loop that no key can have changed the world: every change of
// the state moves it, and reads that change nothing leave it.
TEST(Keyboard, TheVersionMovesExactlyWhenTheStateChanges) {
    KeyboardState keys;
    uint64_t seen = keys.version();
    const auto moved = [&] {
        const bool changed = keys.version() != seen;
        seen = keys.version();
        return changed;
    };
    keys.press(65);
    EXPECT_TRUE(moved()) << "press";
    keys.press(65);
    EXPECT_FALSE(moved()) << "the repeat of a held key";
    EXPECT_EQ(keys.is_down(65), 1);
    EXPECT_FALSE(moved()) << "asking whether it is down";
    EXPECT_EQ(keys.take_hits(66), 0);
    EXPECT_EQ(keys.take_alt_hits(65), 0);
    EXPECT_EQ(keys.take_close_request(), 0);
    EXPECT_FALSE(moved()) << "taking nothing";
    EXPECT_EQ(keys.take_hits(65), 1);
    EXPECT_TRUE(moved()) << "taking a hit";
    keys.release(65);
    EXPECT_TRUE(moved()) << "release";
    keys.release(65);
    EXPECT_FALSE(moved()) << "the release of a key that is up";
    keys.press(164);
    keys.press(13);
    moved();
    EXPECT_EQ(keys.take_alt_hits(13), 1);
    EXPECT_TRUE(moved()) << "taking an Alt chord";
    keys.request_close();
    EXPECT_TRUE(moved()) << "close asked for";
    EXPECT_EQ(keys.take_close_request(), 1);
    EXPECT_TRUE(moved()) << "close taken";
    keys.clear_all();
    EXPECT_TRUE(moved()) << "focus";
    keys.drop_hits();
    EXPECT_TRUE(moved()) << "hits dropped";
}

using KeyServices = testing::HeadlessGame;

TEST_F(KeyServices, ScriptedInputArrivesDuringTheTimerWait) {
    backend.queue_pass({hit(65), press(160)});
    EXPECT_EQ(key_hit(65), 0) << "nothing before the wait";
    FrameTimer timer = create_timer(20);
    EXPECT_EQ(timer_wait(timer), 1);
    EXPECT_EQ(key_hit(65), 1);
    EXPECT_EQ(key_down(160), 1);
    EXPECT_EQ(millisecs(), 50) << "virtual time: 50 ms a pass";
}

// A window whose timer starts at 0 with the window, but whose seed clock is a wall clock.
class WallClockWindow : public HeadlessBackend {
public:
    int64_t seed_clock_ms() override { return wall_ms; }
    int64_t wall_ms = 0;
};

TEST(SeedClock, GamesStartedAMomentApartGetDifferentSeeds) {
    WallClockWindow window;
    set_backend(&window);
    window.wall_ms = 1'796'000'000'000;  // December 2026, past 32 bits
    const int32_t first = millisecs();
    window.wall_ms += 1'000;
    const int32_t second = millisecs();
    FrameTimer timer = create_timer(20);
    set_backend(nullptr);
    EXPECT_NE(first, second) << "a second later";
    EXPECT_EQ(second - first, 1'000) << "cut to 32 bits, the low bits kept";
    EXPECT_EQ(timer.start_ms, 0) << "the timer keeps its own clock";
}

}  // namespace
}  // namespace grotmere
