// Long recordings of the shipped game for the benchmarks of seeking and continuing: the keys of
// every pass chosen by a fixed scramble, as BM_HeadlessPassesRandomKeys chooses them, recorded as
// the window records a game (checkpoints every 100 passes) but played without pixels, so that a
// million passes take seconds. The player lives through a million such passes on seed 1.
#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <utility>

#include "bench/shipped_game.hpp"
#include "files/kept_state.hpp"
#include "platform/drawing.hpp"
#include "platform/headless_backend.hpp"
#include "platform/keyboard.hpp"
#include "replay/data_hash.hpp"
#include "replay/playback.hpp"
#include "replay/recording.hpp"
#include "replay/replay_seek.hpp"
#include "replay/state_digest.hpp"
#include "run/main_loop.hpp"
#include "run/startup.hpp"
#include "world/world_state.hpp"

namespace grotmere::bench {

inline PassInput scrambled_keys(uint32_t& scramble) {
    scramble = scramble * 1103515245u + 12345u;
    PassInput input;
    if ((scramble >> 16) % 3 != 0)
        input.push_back({InputEvent::Kind::Hit, kKeys[(scramble >> 20) % std::size(kKeys)]});
    return input;
}

inline std::string read_whole_file(const std::string& path) {
    std::stringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// A temporary folder of the benchmarks' own.
inline std::string bench_folder() {
    static const std::string folder = [] {
        char made[] = "/tmp/grotmere_bench_XXXXXX";
        if (!mkdtemp(made)) std::abort();
        return std::string(made);
    }();
    return folder;
}

struct LongRecording {
    std::string path;
    std::string text;
};

// The recording of `passes` passes on seed 1, at `path` (else in the benchmarks' folder); with
// `keep_state`, the game's state is kept beside it as a game kept over a close keeps it.
inline LongRecording make_long_recording(int64_t passes, const std::string& path = "",
                                         bool keep_state = false) {
    const InShippedFolder inside;
    HeadlessBackend quiet;
    set_backend(&quiet);
    reset_world();
    set_pixels_wanted(false);
    {
        const QuietOutput silent;
        if (start_game(StartupOptions{1})) std::abort();
    }
    LongRecording made;
    made.path =
        path.empty() ? bench_folder() + "/passes-" + std::to_string(passes) + ".keys" : path;
    std::remove(made.path.c_str());
    GameRecorder recorder;
    recorder.open(create_new_file(made.path), 1, app_title, data_files_hash("bifs"), state_digest);
    keyboard().set_listener(&recorder);
    take_in_events_only_at_wait(true);
    keyboard().clear_all();
    uint32_t scramble = 12345;
    int64_t turns = 0;
    for (int64_t pass = 0; pass < passes; ++pass) {
        quiet.queue_pass(scrambled_keys(scramble));
        const PassResult result = run_pass();
        if (result.end) std::abort();
        turns += result.turn_taken;
        recorder.end_pass();
    }
    keyboard().set_listener(nullptr);
    recorder.close();
    if (keep_state) keep_state_beside(recorder, turns);
    set_backend(nullptr);
    reset_world();
    made.text = read_whole_file(made.path);
    return made;
}

// A replay of `script`, played on `seed` in the shipped folder, its first look taken.
inline std::unique_ptr<ReplaySeeker> surveyed_seeker(const KeyScript& script, int32_t seed,
                                                     SnapshotShelf shelf = SnapshotShelf()) {
    auto seeker = std::make_unique<ReplaySeeker>(
        script,
        [&script, seed] {
            const bool started = !start_game(StartupOptions{seed});
            prepare_playback(script);
            return started;
        },
        std::move(shelf));
    if (seeker->survey()) std::abort();
    return seeker;
}

}  // namespace grotmere::bench
