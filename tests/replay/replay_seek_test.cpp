// Going back and forth in a recording lands on exactly the state a playback from the start has at
// the same pass, whichever way the game got there: played on from where it stood, from the start,
// or from a snapshot kept on the first look (and after the snapshots were thinned out).
#include "replay/replay_seek.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/drawing.hpp"
#include "platform/replay_backend.hpp"
#include "replay/state_digest.hpp"
#include "run/startup.hpp"
#include "tests/records/definition_test_support.hpp"
#include "tests/support/headless_game.hpp"

namespace grotmere::testing {
namespace {

TEST_F(HeadlessGame, SeekingLandsOnTheStateOfAStraightPlaybackForwardAndBack) {
    WorkingDirectory inside(GROTMERE_SOURCE_DIR);
    std::stringstream text;
    text << std::ifstream("tests/replays/shooting_match.keys").rdbuf();
    const KeyScript script = parse_key_script(text.str()).script;
    auto start = [&script] {
        ::testing::internal::CaptureStdout();
        const bool started = !start_game(StartupOptions{script.seed.value_or(1)});
        ::testing::internal::GetCapturedStdout();
        return started;
    };
    // The digest after every pass of a playback from the start.
    ReplaySeeker straight(script, start);
    ASSERT_FALSE(straight.survey());
    std::vector<uint64_t> digests{state_digest()};
    HeadlessBackend quiet;
    set_backend(&quiet);
    while (!straight.ended()) {
        quiet.queue_pass(straight.next_input());
        straight.run_one();
        digests.push_back(state_digest());
    }
    const Framebuffer last_picture = framebuffer();
    const int64_t total = straight.total_turns();
    ASSERT_GT(total, 20);
    // Without snapshots, and with one every 20 passes in too little memory for all of them.
    for (const SnapshotShelf& shelf :
         {SnapshotShelf(SIZE_MAX, INT64_MAX / 2), SnapshotShelf(80000, 20)}) {
        // The last pass of a seek is shown in the window, which hands over the recorded input.
        ReplaySeeker seeker(script, start, shelf);
        ReplayBackend shown(
            backend, [&seeker] { return seeker.next_input(); }, 64.0);
        ASSERT_FALSE(seeker.survey());
        for (int64_t turn : {total / 2, total / 2 + 1, int64_t{3}, total, total - 1, int64_t{0},
                             total / 3, total / 3 - 1, total - 7}) {
            ASSERT_TRUE(seeker.seek_turn(turn, shown));
            EXPECT_TRUE(turn == 0 || seeker.turn() == turn) << seeker.turn() << " for " << turn;
            EXPECT_EQ(state_digest(), digests[seeker.pass()]) << "turn " << turn;
        }
        EXPECT_TRUE(seeker.seek_end(shown));
        EXPECT_TRUE(seeker.ended());
        EXPECT_TRUE(framebuffer() == last_picture) << "passes without pixels, the last drawn whole";
        EXPECT_EQ(seeker.pass(), static_cast<int64_t>(digests.size()) - 1);
        if (shelf.spacing() == 20) {
            EXPECT_GT(seeker.shelf().spacing(), 20) << "thinned out";
            EXPECT_GT(seeker.shelf().count(), 2U);
            EXPECT_LE(seeker.shelf().memory(), 80000U);
        }
    }
}

}  // namespace
}  // namespace grotmere::testing
