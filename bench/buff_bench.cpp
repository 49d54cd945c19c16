// A potion of 200,000 lasting pieces drunk by the player, and the turn in which all of them run
// out (BM_ExpiringEffects): each effect leaves its list as the tick passes over it, in constant
// time, so the whole case grows with the pieces, not with their square.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "actors/buff.hpp"
#include "actors/player.hpp"
#include "actors/trank.hpp"
#include "records/field_registry.hpp"
#include "run/record_types.hpp"
#include "world/world_state.hpp"

namespace grotmere {
namespace {

void BM_ExpiringEffects(benchmark::State& state) {
    const int32_t pieces = static_cast<int32_t>(state.range(0));
    std::string wirkung;
    for (int32_t k = 0; k < pieces; ++k)
        wirkung += k == 0 ? "hp+1'1" : "|hp+1'1";
    // The farewell of each effect goes to standard output; the figure is the game's, not the
    // terminal's.
    std::fflush(stdout);
    const int kept = ::dup(1);
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::close(null);
    for (auto _ : state) {
        reset_world();
        register_record_types();
        player = TPlayer::create("Aldric", 30, 1, 1, 50, 30, 3);
        auto potion = new_record<TTrank>();
        potion->wirkung = wirkung;
        potion->parse_wirkung(player);
        TBuff::update(0);
        benchmark::DoNotOptimize(player->buffs->count());
    }
    std::fflush(stdout);
    ::dup2(kept, 1);
    ::close(kept);
}
BENCHMARK(BM_ExpiringEffects)->Arg(200000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace grotmere
