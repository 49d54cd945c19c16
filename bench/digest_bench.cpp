// The checkpoint's digest of the whole game on the shipped map, as a recording takes it every 100
// passes and a seek compares it: the current digest (every root the dump holds, field by field)
// beside the first one (the records' JSON text).
#include <benchmark/benchmark.h>

#include "bench/shipped_game.hpp"
#include "platform/headless_backend.hpp"
#include "platform/platform.hpp"
#include "replay/state_digest.hpp"
#include "run/main_loop.hpp"
#include "run/startup.hpp"
#include "world/world_state.hpp"

namespace grotmere {
namespace {

// The shipped game a few hundred passes in, lights lying and monsters about.
void start_shipped_game(HeadlessBackend& backend) {
    const bench::InShippedFolder inside;
    const bench::QuietOutput quiet;
    reset_world();
    set_backend(&backend);
    if (start_game(StartupOptions{7})) std::abort();
    for (int32_t pass = 0; pass < 300; ++pass) {
        backend.queue_pass({{InputEvent::Kind::Hit, bench::kKeys[pass % std::size(bench::kKeys)]}});
        run_pass();
    }
}

void BM_StateDigest(benchmark::State& state) {
    HeadlessBackend backend;
    start_shipped_game(backend);
    for (auto _ : state)
        benchmark::DoNotOptimize(state_digest());
    set_backend(nullptr);
    reset_world();
}
BENCHMARK(BM_StateDigest)->Unit(benchmark::kMicrosecond);

void BM_FirstStateDigest(benchmark::State& state) {
    HeadlessBackend backend;
    start_shipped_game(backend);
    for (auto _ : state)
        benchmark::DoNotOptimize(first_state_digest());
    set_backend(nullptr);
    reset_world();
}
BENCHMARK(BM_FirstStateDigest)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace grotmere
