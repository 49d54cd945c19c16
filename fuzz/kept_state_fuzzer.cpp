// Feeds arbitrary bytes as a game's state (replay/game_snapshot.hpp) and as the file a kept game
// leaves beside its recording (files/kept_state.hpp). Neither reader may trust them: bytes that
// read put back a world that holds together, on which the game goes on for a few passes with its
// contracts checked; bytes that do not read change nothing. Played from the repository's root,
// on the shipped game. Its seeds in fuzz/corpus/kept_state are the game's state and kept file
// twenty passes in, which it writes itself when KEPT_STATE_CORPUS names a folder.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include "files/kept_state.hpp"
#include "platform/drawing.hpp"
#include "platform/headless_backend.hpp"
#include "replay/game_snapshot.hpp"
#include "replay/state_digest.hpp"
#include "replay/state_dump.hpp"
#include "run/main_loop.hpp"
#include "run/startup.hpp"
#include "world/world_state.hpp"

namespace {

using namespace grotmere;

constexpr int32_t kPassesAfter = 8;

HeadlessBackend backend;

// The shipped game a few passes in, as bytes to come back to after each input.
const std::string& started_game() {
    static const std::string bytes = [] {
        if (std::freopen("/dev/null", "w", stdout) == nullptr) std::abort();
        reset_world();
        check_unchanged_frames(true);
        set_backend(&backend);
        if (start_game(StartupOptions{3})) std::abort();
        for (int32_t pass = 0; pass < 20; ++pass) {
            backend.queue_pass({{InputEvent::Kind::Hit, pass % 2 ? 39 : 40}});
            run_pass();
        }
        const std::string state = game_state_bytes();
        if (const char* folder = std::getenv("KEPT_STATE_CORPUS")) {
            std::ofstream(std::string(folder) + "/state", std::ios::binary) << state;
            std::ofstream(std::string(folder) + "/kept", std::ios::binary)
                << kept_state_bytes(KeptState{20, 10, 0, 0, state});
        }
        return state;
    }();
    return bytes;
}

void try_state(std::string_view bytes) {
    const uint64_t before = state_digest();
    if (put_back_game_state(bytes)) {
        if (state_digest() != before) std::abort();
        return;
    }
    dump_state(RunSummary{});
    for (int32_t pass = 0; pass < kPassesAfter; ++pass) {
        backend.queue_pass({{InputEvent::Kind::Hit, 37 + pass % 4}});
        if (run_pass().end) break;
    }
    if (put_back_game_state(started_game())) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    started_game();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try_state(bytes);
    if (const std::optional<KeptState> kept = read_kept_state(bytes)) {
        if (read_kept_state(kept_state_bytes(*kept)).value_or(KeptState{}).state != kept->state)
            std::abort();
        try_state(kept->state);
    }
    return 0;
}
