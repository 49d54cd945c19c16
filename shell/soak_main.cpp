// grotmere-soak: the game's own start-up and main loop on the headless backend, played by random
// keys for a long time (walking, items, held left Shift, focus lost and regained, now and then a
// close request or Escape), to show that nothing grows or breaks over a million passes. A game
// that ends (closed, escaped, or the player's death) is started afresh and the soak goes on.
//
//   grotmere-soak [--dir DIR] CHECKPOINT...
//
// At each checkpoint (a number of passes, in rising order) one line tells the passes per second,
// the peak memory so far and, under a sanitizer, the game's own heap. When the first checkpoint
// is at least kWarmUp passes, the game's memory at the last (its heap under a sanitizer, else the
// peak) may be at most 10% above that at the first; otherwise the exit status is 1.
// The keys are drawn by the soak's own generator, never the game's.
#include <sys/resource.h>

#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
#define GROTMERE_SOAK_HEAP_COUNT 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define GROTMERE_SOAK_HEAP_COUNT 1
#endif
#endif
#ifdef GROTMERE_SOAK_HEAP_COUNT
// Both compilers' sanitizer runtimes have it; only clang ships the header that declares it.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "base/safe_file.hpp"
#include "platform/drawing.hpp"
#include "platform/headless_backend.hpp"
#include "platform/platform.hpp"
#include "replay/key_script.hpp"
#include "run/main_loop.hpp"
#include "run/startup.hpp"
#include "world/world_state.hpp"

namespace {

using namespace grotmere;

constexpr int64_t kWarmUp = 10000;

int64_t peak_memory_kib() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The bytes the game holds on the heap now, as the sanitizer's allocator counts them; its own
// bookkeeping (the stacks it keeps of every allocation, its quarantine) grows the peak memory of
// a sanitized run by itself, so the game's memory is told apart. 0 where there is no such count.
int64_t heap_in_use_kib() {
#ifdef GROTMERE_SOAK_HEAP_COUNT
    return static_cast<int64_t>(__sanitizer_get_current_allocated_bytes() / 1024);
#else
    return 0;
#endif
}

// The processor time used so far: on a shared machine the wall clock says little.
double cpu_seconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

class RandomKeys {
public:
    PassInput next() {
        PassInput input;
        if (chance(30)) return input;  // a pass with no input
        if (rng_() % 20000 == 0) {
            input.push_back(
                {rng_() % 2 == 0 ? InputEvent::Kind::Close : InputEvent::Kind::Hit, 27});
            return input;
        }
        const int32_t events = 1 + static_cast<int32_t>(rng_() % 2);
        for (int32_t k = 0; k < events; ++k)
            input.push_back(event());
        return input;
    }

private:
    bool chance(uint32_t percent) { return rng_() % 100 < percent; }

    InputEvent event() {
        static const std::vector<std::string> keys = {
            "left", "right", "up", "down", "left", "right", "up", "down", "0", "1", "2", "3", "4",
            "5",    "6",     "7",  "8",    "9",    "g",     "u",  "l",    "r", "w", "i", "e"};
        const uint32_t pick = rng_() % (keys.size() + 3);
        if (pick == keys.size()) return {InputEvent::Kind::Press, 160};  // left Shift held
        if (pick == keys.size() + 1) return {InputEvent::Kind::Release, 160};
        if (pick == keys.size() + 2) return {InputEvent::Kind::Focus, 0};
        return {InputEvent::Kind::Hit, *key_code_for(keys[pick])};
    }

    std::mt19937 rng_{20261207};
};

}  // namespace

int main(int argc, char** argv) try {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string dir = ".";
    std::vector<int64_t> checkpoints;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--dir" && i + 1 < args.size()) {
            dir = args[++i];
        } else {
            char* end = nullptr;
            const long long value = std::strtoll(args[i].c_str(), &end, 10);
            if (*end != '\0' || value <= 0 ||
                (!checkpoints.empty() && value <= checkpoints.back())) {
                std::fprintf(stderr, "usage: grotmere-soak [--dir DIR] CHECKPOINT... (rising)\n");
                return 2;
            }
            checkpoints.push_back(value);
        }
    }
    if (checkpoints.empty()) checkpoints = {100000, 1000000};
    std::error_code error;
    std::filesystem::current_path(dir, error);
    if (error) {
        std::fprintf(stderr, "grotmere-soak: cannot enter %s\n", dir.c_str());
        return 2;
    }
    // The game's own lines would only fill the output.
    if (std::freopen("/dev/null", "w", stdout) == nullptr) return 1;

    RandomKeys keys;
    HeadlessBackend backend;
    // A frame skipped as unchanged that would have looked different is a failure of the soak.
    check_unchanged_frames(true);
    int64_t passes = 0, turns = 0, games = 0;
    int64_t first_peak = 0, last_measure = 0;
    const auto start = std::chrono::steady_clock::now();
    bool running = false;
    for (int64_t checkpoint : checkpoints) {
        for (; passes < checkpoint; ++passes) {
            if (!running) {
                reset_world();
                backend = HeadlessBackend{};
                set_backend(&backend);
                if (auto failure = start_game(StartupOptions{static_cast<int32_t>(games)})) {
                    std::fprintf(stderr, "grotmere-soak: %s\n", failure->message.c_str());
                    return 1;
                }
                running = true;
                ++games;
            }
            backend.queue_pass(keys.next());
            const PassResult result = run_pass();
            if (result.turn_taken) ++turns;
            if (result.end) running = false;
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const int64_t peak = peak_memory_kib();
        const int64_t heap = heap_in_use_kib();
        const double cpu = cpu_seconds();
        std::fprintf(stderr,
                     "soak: %lld passes (%lld turns, %lld games) in %.1f s (%.1f s of processor "
                     "time): %.0f passes/s (%.0f per processor second), peak memory %.1f MiB",
                     static_cast<long long>(passes), static_cast<long long>(turns),
                     static_cast<long long>(games), seconds, cpu,
                     static_cast<double>(passes) / seconds, static_cast<double>(passes) / cpu,
                     static_cast<double>(peak) / 1024.0);
        if (heap > 0) {
            std::fprintf(stderr, ", the game's heap %.1f MiB", static_cast<double>(heap) / 1024.0);
        }
        std::fprintf(stderr, "\n");
        // Under a sanitizer the game's heap is what must stay flat; elsewhere the peak.
        const int64_t measure = heap > 0 ? heap : peak;
        if (first_peak == 0) first_peak = measure;
        last_measure = measure;
    }
    set_backend(nullptr);
    reset_world();
    if (checkpoints.front() >= kWarmUp && last_measure * 10 > first_peak * 11) {
        std::fprintf(stderr, "grotmere-soak: the game's memory grew by more than 10%%\n");
        return 1;
    }
    return 0;
} catch (const std::filesystem::filesystem_error& error) {
    // No program ends on an abort for a file it could not handle.
    std::fprintf(stderr, "grotmere-soak: %s\n", grotmere::file_system_failure(error).c_str());
    return 1;
}
