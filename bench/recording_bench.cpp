// What the recording costs an idle window: the recorder's work over 100 passes without input (a
// checkpoint's digest and a synced write among them), and the digest alone, on the shipped map
// (/0) and the largest map of tools/large_map.py (/1), the world standing still as in an idle
// window. Reported per 100 passes, with the processor's share (`core_%`) at the window's 20
// passes a second.
#include <benchmark/benchmark.h>
#include <time.h>

#include <cstdio>
#include <filesystem>

#include "bench/largest_map.hpp"
#include "bench/long_recording.hpp"
#include "bench/shipped_game.hpp"

namespace grotmere {
namespace {

double thread_seconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

class StillGame {
public:
    explicit StillGame(int64_t map) : before_(std::filesystem::current_path()) {
        std::filesystem::current_path(map == 0 ? GROTMERE_SOURCE_DIR : bench::largest_map_folder());
        set_backend(&quiet_);
        reset_world();
        const bench::QuietOutput silent;
        if (start_game(StartupOptions{1})) std::abort();
    }
    ~StillGame() {
        std::filesystem::current_path(before_);
        set_backend(nullptr);
        reset_world();
    }

private:
    std::filesystem::path before_;
    HeadlessBackend quiet_;
};

// 100 passes are five seconds of the window's time.
void report_share(benchmark::State& state, double seconds) {
    state.counters["core_%"] = seconds / static_cast<double>(state.iterations()) / 5.0 * 100;
}

void BM_RecordingIdlePasses(benchmark::State& state) {
    const StillGame game(state.range(0));
    const std::string path = bench::bench_folder() + "/idle.keys";
    std::remove(path.c_str());
    GameRecorder recorder;
    recorder.open(create_new_file(path), 1, app_title, data_files_hash("bifs"), state_digest);
    const double start = thread_seconds();
    for (auto _ : state) {
        for (int32_t pass = 0; pass < 100; ++pass)
            recorder.end_pass();
    }
    report_share(state, thread_seconds() - start);
    recorder.close();
}
BENCHMARK(BM_RecordingIdlePasses)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_CheckpointDigest(benchmark::State& state) {
    const StillGame game(state.range(0));
    const double start = thread_seconds();
    for (auto _ : state)
        benchmark::DoNotOptimize(state_digest());
    report_share(state, thread_seconds() - start);
}
BENCHMARK(BM_CheckpointDigest)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace grotmere
