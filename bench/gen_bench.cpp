// The dungeon generator: one dungeon of a seed laid out and checked against its promises
// (BM_GenerateDungeon), and the whole hand-over of grotmere --new-dungeon: the sub-seeds tried,
// the folder written and passed through the game's content check (BM_GenerateDataFolder).
// The palette is read from the shipped data once.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "gen/dungeon_check.hpp"
#include "shell/generated_dungeon.hpp"

namespace grotmere {
namespace {

namespace fs = std::filesystem;

const gen::Palette& palette() {
    static const gen::Palette shipped = read_palette(GROTMERE_SOURCE_DIR);
    return shipped;
}

void BM_GenerateDungeon(benchmark::State& state) {
    int32_t seed = 0;
    for (auto _ : state) {
        ++seed;
        benchmark::DoNotOptimize(gen::first_kept_dungeon(seed, palette()));
    }
}
BENCHMARK(BM_GenerateDungeon)->Unit(benchmark::kMillisecond);

void BM_GenerateDataFolder(benchmark::State& state) {
    const fs::path root =
        fs::temp_directory_path() / ("grotmere_gen_bench_" + std::to_string(::getpid()));
    int32_t seed = 0;
    std::string error;
    for (auto _ : state) {
        ++seed;
        if (!generate_data_folder(seed, GROTMERE_SOURCE_DIR, root / std::to_string(seed), error))
            state.SkipWithError(error.c_str());
    }
    fs::remove_all(root);
}
BENCHMARK(BM_GenerateDataFolder)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace grotmere
