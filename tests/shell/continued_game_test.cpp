// A game cut short, by a crash that left only part of its recording or by closing the window, and
// continued with the rest of its keys ends where the game played through ends: its one recording
// plays back to the same dump.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace grotmere::testing
