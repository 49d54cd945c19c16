// Going anywhere in long recordings (bench/long_recording.hpp) of 20,000, 80,000, 300,000 and
// 1,000,000 passes, as the window's replay goes: after the recording's first look, which keeps
// its snapshots, each seek goes where a player would send it next: a turn back or forward, 100
// turns back or forward (Page Up and Down), the start or the end (Home, End), or a turn typed
// after G. Reported: the mean of a seek's processor time, the slowest seek (max_ms), and the
// snapshots kept with their memory and spacing. /PASSES/0 keeps no snapshots, so that each seek
// back plays from the start, as seeking did before the snapshots.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <map>

#include "bench/long_recording.hpp"
#include "platform/replay_backend.hpp"
#include "replay/playback.hpp"
#include "replay/replay_seek.hpp"

namespace grotmere {
namespace {

double cpu_ms() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

const bench::LongRecording& recording_of(int64_t passes) {
    static std::map<int64_t, bench::LongRecording> made;
    auto found = made.find(passes);
    if (found == made.end()) found = made.emplace(passes, bench::make_long_recording(passes)).first;
    return found->second;
}

// Where the next seek goes from turn `now` of `total`: the moves of the replay's keys in turn.
int64_t next_target(int64_t step, int64_t now, int64_t total, uint32_t& scramble) {
    scramble = scramble * 1103515245u + 12345u;
    switch (step % 7) {
        case 0:
            return now - 1;
        case 1:
            return now + 1;
        case 2:
            return now - 100;
        case 3:
            return now + 100;
        case 4:
            return static_cast<int64_t>(scramble >> 8) % (total + 1);
        case 5:
            return step % 14 == 5 ? 0 : total;
        default:
            return static_cast<int64_t>(scramble >> 4) % (total + 1);
    }
}

void BM_SeekAnywhere(benchmark::State& state) {
    const bench::LongRecording& recording = recording_of(state.range(0));
    const bench::InShippedFolder inside;
    const bench::QuietOutput quiet;
    const KeyScript script = parse_key_script(recording.text).script;
    const std::unique_ptr<ReplaySeeker> surveyed =
        state.range(1) != 0 ? bench::surveyed_seeker(script, 1)
                            : bench::surveyed_seeker(script, 1, SnapshotShelf(0, INT64_MAX / 2));
    ReplaySeeker& seeker = *surveyed;
    HeadlessBackend window;
    ReplayBackend shown(
        window, [&seeker] { return seeker.next_input(); }, 1.0);
    uint32_t scramble = 777;
    int64_t step = 0;
    double slowest = 0;
    for (auto _ : state) {
        const int64_t target = next_target(step++, seeker.turn(), seeker.total_turns(), scramble);
        const double before = cpu_ms();
        if (!seeker.seek_turn(target, shown)) std::abort();
        slowest = std::max(slowest, cpu_ms() - before);
    }
    state.counters["max_ms"] = slowest;
    state.counters["snapshots"] = static_cast<double>(seeker.shelf().count());
    state.counters["MiB"] = static_cast<double>(seeker.shelf().memory()) / (1 << 20);
    state.counters["spacing"] = static_cast<double>(seeker.shelf().spacing());
    set_backend(nullptr);
    reset_world();
}
BENCHMARK(BM_SeekAnywhere)
    ->Args({20000, 1})
    ->Args({80000, 1})
    ->Args({300000, 1})
    ->Args({1000000, 1})
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SeekAnywhere)
    ->Args({20000, 0})
    ->Args({80000, 0})
    ->Iterations(28)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace grotmere
