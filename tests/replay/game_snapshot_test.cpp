// A snapshot put back at any pass of any game is that pass's state: the dump, the digest, the
// history and the story of the run are a straight playback's, and so is every pass after it.
#include "replay/game_snapshot.hpp"

#include <gtest/gtest.h>

#include "aids/window_aids.hpp"
#include "platform/key_codes.hpp"
#include "replay/state_digest.hpp"
#include "replay/state_dump.hpp"
#include "run/startup.hpp"
#include "tests/records/definition_test_support.hpp"
#include "tests/support/headless_game.hpp"

namespace grotmere::testing {
namespace {

// Everything a snapshot must give back, as text: the dump, the digest, the history, the story.
std::string whole_state() {
    std::string text = dump_state(RunSummary{}).dump() + digest_text(state_digest());
    for (size_t k = 0; k < message_history.size(); ++k)
        text += message_history.line(k) + "\n";
    text += world_state.chronicle.last_harm;
    for (const auto& [name, count] : world_state.chronicle.kills)
        text += name + std::to_string(count);
    return text;
}

class GameSnapshot : public HeadlessGame {
protected:
    // Random keys of the shipped game, the history (F2) among them, from `seed` on.
    std::vector<PassInput> random_keys(uint32_t seed, size_t passes) {
        constexpr int32_t kKeys[] = {key::kLeft,       key::kRight,         key::kUp,
                                     key::kDown,       key::letter('p'),    key::letter('l'),
                                     key::letter('i'), key::digit(1),       key::digit(5),
                                     key::kSpace,      key::function_key(2)};
        std::vector<PassInput> keys(passes);
        for (PassInput& input : keys) {
            seed = seed * 1103515245u + 12345u;
            if ((seed >> 16) % 3 == 0) continue;
            const int32_t code = kKeys[(seed >> 20) % std::size(kKeys)];
            // Shift held over a pass now and then: the keyboard's held keys are state too.
            if ((seed >> 8) % 17 == 0)
                input.push_back(press(key::kLeftShift));
            else if ((seed >> 8) % 17 == 1)
                input.push_back(release(key::kLeftShift));
            input.push_back(hit(code));
        }
        return keys;
    }

    void start(int32_t seed) {
        WorkingDirectory inside(GROTMERE_SOURCE_DIR);
        ::testing::internal::CaptureStdout();
        ASSERT_FALSE(start_game(StartupOptions{seed}));
        ::testing::internal::GetCapturedStdout();
        set_window_aids(WindowAids{true});
    }

    struct Kept {
        size_t pass = 0;
        std::string bytes;
        RunningParts running;
        std::string state;
    };
};

TEST_F(GameSnapshot, PutBackAtRandomPassesOfRandomGamesIsThePlaybackThereAndAfter) {
    for (uint32_t game = 1; game <= 3; ++game) {
        reset_world();
        start(static_cast<int32_t>(game * 7));
        const std::vector<PassInput> keys = random_keys(game, 900);
        std::vector<Kept> kept;
        std::vector<uint64_t> digests;
        uint32_t pick = game * 31;
        for (size_t pass = 0; pass < keys.size(); ++pass) {
            pick = pick * 1103515245u + 12345u;
            if (pass == 0 || (pick >> 16) % 150 == 0)
                kept.push_back({pass, game_state_bytes(), running_parts(), whole_state()});
            if (this->pass(keys[pass]).end) break;
            digests.push_back(state_digest());
        }
        ASSERT_GE(kept.size(), 2u) << "game " << game;
        // Latest first, so that each is put back over another state.
        for (auto at = kept.rbegin(); at != kept.rend(); ++at) {
            ASSERT_FALSE(put_back_game_state(at->bytes)) << "game " << game;
            put_back_running_parts(at->running);
            EXPECT_EQ(whole_state(), at->state) << "game " << game << ", pass " << at->pass;
            for (size_t pass = at->pass; pass < std::min(at->pass + 120, digests.size()); ++pass) {
                this->pass(keys[pass]);
                ASSERT_EQ(state_digest(), digests[pass]) << "game " << game << ", pass " << pass;
            }
        }
    }
}

TEST_F(GameSnapshot, BytesCutShortOrOfAnotherBuildChangeNothing) {
    start(3);
    for (const PassInput& input : random_keys(9, 200))
        pass(input);
    const std::string bytes = game_state_bytes();
    pass({hit(key::kRight)});
    const std::string before = whole_state();
    for (size_t cut : {size_t{0}, size_t{7}, bytes.size() / 3, bytes.size() - 1})
        EXPECT_TRUE(put_back_game_state(std::string_view(bytes).substr(0, cut))) << cut;
    std::string other = bytes;
    other[0] ^= 1;
    EXPECT_TRUE(put_back_game_state(other));
    EXPECT_TRUE(put_back_game_state(bytes + "x"));
    EXPECT_EQ(whole_state(), before);
}

}  // namespace
}  // namespace grotmere::testing
