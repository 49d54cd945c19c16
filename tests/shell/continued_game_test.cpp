// A game cut short, by a crash that left only part of its recording or by closing the window, and
// continued with the rest of its keys ends where the game played through ends: its one recording
// plays back to the same dump. A game kept over a close goes on from the state kept beside its
// recording; a kept state that is cut, changed, a folder, of another build, another recording's or
// not the recording's state at its pass is not used, and the game goes on all the same.
#include <gtest/gtest.h>

#include "files/kept_state.hpp"
#include "files/unfinished_game.hpp"
#include "platform/headless_backend.hpp"
#include "platform/key_codes.hpp"
#include "replay/data_hash.hpp"
#include "shell/game.hpp"
#include "shell/game_options.hpp"
#include "tests/records/definition_test_support.hpp"
#include "tests/support/simulator_run.hpp"
#include "world/world_state.hpp"

namespace grotmere::testing {
namespace {

class ContinuedGame : public SimulatorRun {
protected:
    void SetUp() override {
        SimulatorRun::SetUp();
        if (const char* home = std::getenv("XDG_DATA_HOME")) kept_home_ = home;
        ::setenv("XDG_DATA_HOME", (dir_ / "data").c_str(), 1);
        reset_world();
    }
    void TearDown() override {
        reset_world();
        if (kept_home_)
            ::setenv("XDG_DATA_HOME", kept_home_->c_str(), 1);
        else
            ::unsetenv("XDG_DATA_HOME");
        SimulatorRun::TearDown();
    }

    // The window's game on a backend without one, given these passes' keys and then Escape,
    // which asks, and Y.
    void play(std::vector<PassInput> passes, bool go_on, const std::string& record_file = "") {
        for (int32_t i = 0; i < 3; ++i)
            passes.insert(passes.end(), {{}, {hit(key::kEscape)}, {hit(key::letter('y'))}});
        HeadlessBackend window;
        for (PassInput& input : passes)
            window.queue_pass(std::move(input));
        GameOptions options;
        options.dir = GROTMERE_SOURCE_DIR;
        options.seed = 5;
        options.continue_game = go_on;
        if (!record_file.empty()) options.record_file = record_file;
        WorkingDirectory back(fs::current_path());
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(run_game(window, options), 0);
        ::testing::internal::GetCapturedStdout();
        reset_world();
    }

    std::string played_back(const std::string& recording) {
        EXPECT_EQ(run("--keys " + recording + " --dump " + (dir_ / "d.json").string()).status, 0);
        return dump().dump();
    }

    static InputEvent hit(int32_t code) { return {InputEvent::Kind::Hit, code}; }
    std::optional<std::string> kept_home_;
};

std::vector<PassInput> scrambled_keys(uint32_t scramble, size_t passes) {
    constexpr int32_t kKeys[] = {key::kLeft, key::kRight,      key::kUp,
                                 key::kDown, key::letter('p'), key::kSpace};
    std::vector<PassInput> keys(passes);
    for (PassInput& input : keys) {
        scramble = scramble * 1103515245u + 12345u;
        if ((scramble >> 16) % 3 != 0)
            input.push_back({InputEvent::Kind::Hit, kKeys[(scramble >> 20) % std::size(kKeys)]});
    }
    return keys;
}

TEST_F(ContinuedGame, ACutOrClosedGameContinuesToTheEndOfTheGamePlayedThrough) {
    constexpr int32_t kKeys[] = {key::kLeft, key::kRight,      key::kUp,
                                 key::kDown, key::letter('p'), key::kSpace};
    uint32_t scramble = 2026;
    auto next = [&scramble](uint32_t below) {
        scramble = scramble * 1103515245u + 12345u;
        return (scramble >> 16) % below;
    };
    std::vector<PassInput> keys(600);
    for (PassInput& input : keys)
        if (next(3) != 0) input.push_back(hit(kKeys[next(std::size(kKeys))]));
    // The window is closed in passes that have no key in the game played through.
    std::vector<size_t> closes;
    for (int32_t i = 0; i < 3; ++i)
        keys[closes.emplace_back(1 + next(keys.size() - 2))].clear();
    const std::string whole_file = (dir_ / "whole.keys").string();
    play(keys, false, whole_file);
    const std::string whole = played_back(whole_file);
    const std::string whole_text = read(whole_file);
    const std::string hash = data_files_hash(std::string(GROTMERE_SOURCE_DIR) + "/bifs");
    const fs::path note = dir_ / "data/grotmere/unfinished" / hash;

    for (int32_t cut = 0; cut < 6; ++cut) {
        std::string recording;
        size_t kept = 0;
        if (cut % 2 == 0) {
            // A crash: the file ends anywhere, even inside a line, after its head. A kept game's
            // recording lies in the user's recordings folder.
            const size_t end = 60 + next(whole_text.size() * 9 / 10 - 60);
            fs::create_directories(dir_ / "data/grotmere/recordings");
            recording = write("data/grotmere/recordings/cut" + std::to_string(cut) + ".keys",
                              whole_text.substr(0, end))
                            .string();
            note_unfinished(hash, recording);
            kept = parse_key_script(whole_text.substr(0, whole_text.rfind('\n', end - 1) + 1))
                       .script.passes;
        } else {
            std::vector<PassInput> before(keys.begin(), keys.begin() + closes[cut / 2]);
            before.push_back({{InputEvent::Kind::Close, 0}});
            play(before, false);
            recording = read(note);
            recording.pop_back();
            kept = closes[cut / 2] + 1;
        }
        play({keys.begin() + kept, keys.end()}, true);
        EXPECT_EQ(played_back(recording), whole) << "cut after pass " << kept;
        EXPECT_FALSE(fs::exists(note)) << "the game continued has ended";
    }
}

TEST_F(ContinuedGame, AKeptStateThatIsNotTheRecordingsIsPassedOverAndTheGameGoesOn) {
    constexpr size_t kClose = 450;
    std::vector<PassInput> keys = scrambled_keys(37, 700);
    // The window is closed in a pass that has no key in the game played through.
    keys[kClose].clear();
    const std::string whole_file = (dir_ / "whole.keys").string();
    play(keys, false, whole_file);
    const std::string whole = played_back(whole_file);
    const fs::path note = dir_ / "data/grotmere/unfinished" /
                          data_files_hash(std::string(GROTMERE_SOURCE_DIR) + "/bifs");
    auto kept_state_of = [&](const std::string& text) { return *read_kept_state(text); };
    // 0 the state as kept, 1 a byte changed, 2 cut, 3 another pass's, 4 none, 5 a folder, 6 a whole
    // file holding a state of another build's records.
    for (int32_t spoilt = 0; spoilt < 7; ++spoilt) {
        std::vector<PassInput> before(keys.begin(), keys.begin() + kClose);
        before.push_back({{InputEvent::Kind::Close, 0}});
        play(before, false);
        std::string recording = read(note);
        recording.pop_back();
        const std::string state_file = kept_state_path(recording);
        KeptState kept = kept_state_of(read(state_file));
        EXPECT_EQ(kept.passes, static_cast<int64_t>(kClose + 1));
        std::string bytes = kept_state_bytes(kept);
        if (spoilt == 1) bytes[bytes.size() / 2] ^= 4;
        if (spoilt == 2) bytes = bytes.substr(0, bytes.size() - 9);
        if (spoilt == 3) {
            // Another game's checkpoint pass: the state is not the recording's there.
            kept.passes -= 51;
            bytes = kept_state_bytes(kept);
        }
        if (spoilt == 6) {
            kept.state[3] ^= 1;
            bytes = kept_state_bytes(kept);
        }
        std::ofstream(state_file, std::ios::binary | std::ios::trunc) << bytes;
        if (spoilt == 4) fs::remove(state_file);
        if (spoilt == 5) fs::remove(state_file), fs::create_directory(state_file);
        ::testing::internal::CaptureStderr();
        play({keys.begin() + kClose + 1, keys.end()}, true);
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.find("is not used") != std::string::npos, spoilt != 0 && spoilt != 4)
            << said;
        EXPECT_TRUE(played_back(recording) == whole) << "spoilt " << spoilt << said;
        EXPECT_EQ(fs::exists(state_file), spoilt == 5) << "ended, and a folder is left alone";
    }
}

}  // namespace
}  // namespace grotmere::testing
