// Waiting for a kept game and for a step back in a replay: a recording of 20,000 passes, made by
// the window's own game on the shipped data from keys chosen by a fixed scramble and closed at its
// end as a closed window leaves it, and one of 500,000 passes made as bench/long_recording.hpp
// makes them. Restoring goes the way of `grotmere --continue` (the note found, the state kept
// beside the recording put back and checked, the passes after it played, the game going on in the
// window until Escape): BM_RestoreKeptGame/PASSES/1; without the kept state, the whole recording
// is played back and checked: /PASSES/0. Seeking goes from the 20,000-pass recording's end back to
// its middle (/0) and to one turn before the end (/1).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "aids/aid_keys.hpp"
#include "bench/long_recording.hpp"
#include "bench/shipped_game.hpp"
#include "files/kept_state.hpp"
#include "files/unfinished_game.hpp"
#include "platform/headless_backend.hpp"
#include "platform/replay_backend.hpp"
#include "replay/data_hash.hpp"
#include "replay/playback.hpp"
#include "replay/replay_seek.hpp"
#include "run/startup.hpp"
#include "shell/game.hpp"
#include "shell/game_options.hpp"
#include "world/world_state.hpp"

namespace grotmere {
namespace {

constexpr int64_t kPasses = 20000;

struct KeptGame {
    int32_t seed = 0;
    std::string recording;
    std::string text;
    std::string data_hash;
    std::string kept_state;  // the file beside the recording
};

// The window's game on a backend without a window, given this input pass by pass.
void play_in_window(const std::vector<PassInput>& passes, int32_t seed, bool go_on) {
    HeadlessBackend window;
    for (const PassInput& input : passes)
        window.queue_pass(input);
    GameOptions options;
    options.dir = GROTMERE_SOURCE_DIR;
    options.seed = seed;
    options.continue_game = go_on;
    const bench::InShippedFolder back;
    const bench::QuietOutput quiet;
    run_game(window, options);
}

// A game that dies before its window is closed leaves nothing to continue; the next seed is tried.
KeptGame make_kept_game() {
    char folder[] = "/tmp/grotmere_restore_bench_XXXXXX";
    if (!mkdtemp(folder)) std::abort();
    ::setenv("XDG_DATA_HOME", folder, 1);
    KeptGame game;
    game.data_hash = data_files_hash(std::string(GROTMERE_SOURCE_DIR) + "/bifs");
    const std::string note = std::string(folder) + "/grotmere/unfinished/" + game.data_hash;
    uint32_t scramble = 12345;
    for (game.seed = 1; game.seed < 20; ++game.seed) {
        std::vector<PassInput> passes(kPasses);
        for (PassInput& input : passes) {
            scramble = scramble * 1103515245u + 12345u;
            if ((scramble >> 16) % 3 != 0)
                input.push_back({InputEvent::Kind::Hit,
                                 bench::kKeys[(scramble >> 20) % std::size(bench::kKeys)]});
        }
        passes.push_back({{InputEvent::Kind::Close, 0}});
        play_in_window(passes, game.seed, false);
        reset_world();
        const std::string named = bench::read_whole_file(note);
        if (named.empty()) continue;
        game.recording = named.substr(0, named.find('\n'));
        game.text = bench::read_whole_file(game.recording);
        game.kept_state = bench::read_whole_file(kept_state_path(game.recording));
        return game;
    }
    std::abort();
}

const KeptGame& kept_game() {
    static const KeptGame game = make_kept_game();
    return game;
}

// The game of half a million passes, kept in the same user's folder as the window's.
const KeptGame& long_kept_game() {
    static const KeptGame game = [] {
        const KeptGame& shorter = kept_game();
        KeptGame made{1, "", "", shorter.data_hash, ""};
        made.recording = std::filesystem::path(shorter.recording).parent_path().string() +
                         "/half-a-million.keys";
        made.text = bench::make_long_recording(500000, made.recording, true).text;
        made.kept_state = bench::read_whole_file(kept_state_path(made.recording));
        return made;
    }();
    return game;
}

void BM_RestoreKeptGame(benchmark::State& state) {
    const KeptGame& game = state.range(0) == kPasses ? kept_game() : long_kept_game();
    if (game.kept_state.empty()) std::abort();
    // An inventory left open takes the first Escape; then Escape asks and Y answers.
    std::vector<PassInput> escapes;
    for (int32_t i = 0; i < 3; ++i) {
        escapes.push_back(PassInput{{InputEvent::Kind::Hit, key::kEscape}});
        escapes.push_back(PassInput{{InputEvent::Kind::Hit, key::letter('y')}});
    }
    for (auto _ : state) {
        state.PauseTiming();
        reset_world();
        std::ofstream(game.recording, std::ios::binary | std::ios::trunc) << game.text;
        std::filesystem::remove(kept_state_path(game.recording));
        if (state.range(1) != 0)
            std::ofstream(kept_state_path(game.recording), std::ios::binary) << game.kept_state;
        note_unfinished(game.data_hash, game.recording);
        state.ResumeTiming();
        play_in_window(escapes, game.seed, true);
    }
    reset_world();
}
BENCHMARK(BM_RestoreKeptGame)
    ->Args({kPasses, 0})
    ->Args({kPasses, 1})
    ->Args({500000, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RestoreKeptGame)->Args({500000, 0})->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_SeekBack(benchmark::State& state) {
    const KeptGame& game = kept_game();
    const bench::InShippedFolder inside;
    // What the game prints as it goes does not mix with the figures.
    const bench::QuietOutput quiet;
    const KeyScript script = parse_key_script(game.text).script;
    const std::unique_ptr<ReplaySeeker> surveyed = bench::surveyed_seeker(script, game.seed);
    ReplaySeeker& seeker = *surveyed;
    HeadlessBackend window;
    ReplayBackend shown(
        window, [&seeker] { return seeker.next_input(); }, 1.0);
    const int64_t turn = state.range(0) == 0 ? seeker.total_turns() / 2 : seeker.total_turns() - 1;
    for (auto _ : state) {
        state.PauseTiming();
        seeker.seek_end(shown);
        state.ResumeTiming();
        seeker.seek_turn(turn, shown);
    }
    state.counters["turns"] = static_cast<double>(seeker.total_turns());
    set_backend(nullptr);
    reset_world();
}
BENCHMARK(BM_SeekBack)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace grotmere
