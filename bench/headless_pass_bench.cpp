// The shipped game's passes without a window: the player's keys chosen by a fixed scramble of a
// counter (a new game whenever one ends), the same keys played by grotmere-sim from a key script,
// and a golden replay played through as seeking and restoring play it. Reported as passes per
// second.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "bench/shipped_game.hpp"
#include "platform/drawing.hpp"
#include "platform/headless_backend.hpp"
#include "replay/key_script.hpp"
#include "replay/replay_seek.hpp"
#include "run/main_loop.hpp"
#include "run/startup.hpp"
#include "shell/simulator.hpp"
#include "world/world_state.hpp"

namespace grotmere {
namespace {

using bench::InShippedFolder;
using bench::kKeys;

// What start-up prints goes nowhere, so that it does not mix with the figures.
void start_quietly(int32_t seed) {
    const bench::QuietOutput quiet;
    start_game(StartupOptions{seed});
}

void BM_HeadlessPassesRandomKeys(benchmark::State& state) {
    InShippedFolder inside;
    HeadlessBackend quiet;
    set_backend(&quiet);
    const bool pixels = state.range(0) != 0;
    int32_t seed = 1;
    reset_world();
    set_pixels_wanted(pixels);
    start_quietly(seed);
    uint32_t scramble = 12345;
    for (auto _ : state) {
        scramble = scramble * 1103515245u + 12345u;
        PassInput input;
        if ((scramble >> 16) % 3 != 0)
            input.push_back({InputEvent::Kind::Hit, kKeys[(scramble >> 20) % std::size(kKeys)]});
        quiet.queue_pass(std::move(input));
        if (run_pass().end) {
            reset_world();
            set_pixels_wanted(pixels);
            start_quietly(++seed);
        }
    }
    state.counters["passes/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    set_backend(nullptr);
    reset_world();
}
// With pixels (1) as before, and without (0) as restoring, seeking and the simulator run.
BENCHMARK(BM_HeadlessPassesRandomKeys)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

void BM_SurveyGoldenReplay(benchmark::State& state) {
    InShippedFolder inside;
    std::ifstream file("tests/replays/escape_to_daylight.keys");
    std::stringstream text;
    text << file.rdbuf();
    const KeyScript script = parse_key_script(text.str()).script;
    int64_t passes = 0;
    for (auto _ : state) {
        ReplaySeeker seeker(script, [&] {
            start_quietly(script.seed.value_or(1));
            return true;
        });
        benchmark::DoNotOptimize(seeker.survey());
        passes += script.passes;
    }
    state.counters["passes/s"] =
        benchmark::Counter(static_cast<double>(passes), benchmark::Counter::kIsRate);
    reset_world();
}
BENCHMARK(BM_SurveyGoldenReplay)->Unit(benchmark::kMillisecond);

// grotmere-sim --keys as a player runs it, without a screenshot and without checks: start-up,
// reading the script and every pass, on a script of kScriptPasses passes of the keys above.
void BM_SimulatorRandomKeys(benchmark::State& state) {
    constexpr int32_t kScriptPasses = 20000;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("grotmere-bench-sim-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    {
        std::ofstream script(folder / "keys");
        uint32_t scramble = 12345;
        for (int32_t pass = 0; pass < kScriptPasses; ++pass) {
            scramble = scramble * 1103515245u + 12345u;
            // A key by its code, two or three digits.
            if ((scramble >> 16) % 3 != 0) script << kKeys[(scramble >> 20) % std::size(kKeys)];
            script << '\n';
        }
    }
    SimOptions options;
    options.dir = GROTMERE_SOURCE_DIR;
    options.keys_file = (folder / "keys").string();
    std::istringstream no_input;
    // The passes the game lasts, should it end before the script does.
    options.dump_file = (folder / "dump.json").string();
    {
        const bench::QuietOutput quiet;
        run_simulator(options, no_input);
    }
    std::ifstream dump(*options.dump_file);
    std::string text((std::istreambuf_iterator<char>(dump)), {});
    const size_t at = text.find("\"passes\": ");
    const int64_t passes = at == std::string::npos ? 0 : std::stoll(text.substr(at + 10));
    options.dump_file.reset();
    for (auto _ : state) {
        const bench::QuietOutput quiet;
        if (run_simulator(options, no_input) != 0) state.SkipWithError("grotmere-sim failed");
    }
    state.counters["passes/s"] = benchmark::Counter(
        static_cast<double>(passes * state.iterations()), benchmark::Counter::kIsRate);
    std::filesystem::remove_all(folder);
    reset_world();
}
BENCHMARK(BM_SimulatorRandomKeys)->Unit(benchmark::kMillisecond);

// Start-up on the largest map (tools/large_map.py writes its folder once, into a scratch folder):
// the data read, the map built and the first sight and light pass.
void BM_StartUpLargestMap(benchmark::State& state) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("grotmere-bench-large-" + std::to_string(getpid()));
    const std::string write =
        "python3 " GROTMERE_SOURCE_DIR "/tools/large_map.py " + folder.string() + " >/dev/null";
    if (std::system(write.c_str()) != 0) return state.SkipWithError("no largest map");
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    for (auto _ : state) {
        reset_world();
        start_quietly(1);
    }
    std::filesystem::current_path(before);
    std::filesystem::remove_all(folder);
    reset_world();
}
BENCHMARK(BM_StartUpLargestMap)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace grotmere
