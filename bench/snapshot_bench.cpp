// A snapshot of the whole game taken and put back: on the shipped game after 20,000 passes of keys
// chosen by a fixed scramble (/0), and on the largest map of tools/large_map.py after 2,000 (/1).
// Reported in microseconds, with the snapshot's size in bytes. BM_ShelveSnapshots keeps one every
// 500 passes of those games as a replay's first look does and reports the memory each takes on
// the shelf, its pieces equal to the snapshot before's held once.
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "bench/largest_map.hpp"
#include "bench/shipped_game.hpp"
#include "platform/drawing.hpp"
#include "platform/headless_backend.hpp"
#include "replay/game_snapshot.hpp"
#include "replay/snapshot_shelf.hpp"
#include "run/main_loop.hpp"
#include "run/startup.hpp"
#include "world/world_state.hpp"

namespace grotmere {
namespace {

// The game of `folder` played on scrambled keys for `passes` passes, a new seed whenever one ends;
// `after_pass` is told of each pass played.
void play_game(const std::string& folder, int64_t passes, HeadlessBackend& quiet,
               const std::function<void(int64_t)>& after_pass = {}) {
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    set_backend(&quiet);
    uint32_t scramble = 12345;
    int32_t seed = 1;
    auto start = [&seed] {
        reset_world();
        set_pixels_wanted(false);
        const bench::QuietOutput silent;
        if (start_game(StartupOptions{seed++})) std::abort();
    };
    start();
    for (int64_t pass = 0; pass < passes; ++pass) {
        scramble = scramble * 1103515245u + 12345u;
        PassInput input;
        if ((scramble >> 16) % 3 != 0)
            input.push_back(
                {InputEvent::Kind::Hit, bench::kKeys[(scramble >> 20) % std::size(bench::kKeys)]});
        quiet.queue_pass(std::move(input));
        if (run_pass().end) start();
        if (after_pass) after_pass(pass + 1);
    }
    std::filesystem::current_path(before);
}

void play_benchmark_game(benchmark::State& state, HeadlessBackend& quiet) {
    if (state.range(0) == 0)
        play_game(GROTMERE_SOURCE_DIR, 20000, quiet);
    else
        play_game(bench::largest_map_folder(), 2000, quiet);
}

void BM_TakeSnapshot(benchmark::State& state) {
    HeadlessBackend quiet;
    play_benchmark_game(state, quiet);
    size_t size = 0;
    for (auto _ : state)
        size = game_state_bytes().size();
    state.counters["bytes"] = static_cast<double>(size);
    set_backend(nullptr);
    reset_world();
}
BENCHMARK(BM_TakeSnapshot)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_PutBackSnapshot(benchmark::State& state) {
    HeadlessBackend quiet;
    play_benchmark_game(state, quiet);
    const std::string bytes = game_state_bytes();
    for (auto _ : state) {
        if (put_back_game_state(bytes)) std::abort();
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
    set_backend(nullptr);
    reset_world();
}
BENCHMARK(BM_PutBackSnapshot)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_ShelveSnapshots(benchmark::State& state) {
    HeadlessBackend quiet;
    const int64_t passes = state.range(0) == 0 ? 20000 : 10000;
    const std::string folder =
        state.range(0) == 0 ? std::string(GROTMERE_SOURCE_DIR) : bench::largest_map_folder();
    for (auto _ : state) {
        SnapshotShelf shelf(SIZE_MAX);
        size_t whole = 0;
        play_game(folder, passes, quiet, [&](int64_t pass) {
            if (!shelf.due(pass)) return;
            const std::string bytes = game_state_bytes();
            whole += bytes.size();
            shelf.keep(pass, bytes, running_parts(), Playback::Place{});
        });
        state.counters["snapshots"] = static_cast<double>(shelf.count());
        state.counters["bytes_each"] = static_cast<double>(shelf.memory()) / shelf.count();
        state.counters["whole_each"] = static_cast<double>(whole) / shelf.count();
    }
    set_backend(nullptr);
    reset_world();
}
BENCHMARK(BM_ShelveSnapshots)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace grotmere
