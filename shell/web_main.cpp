// The game in the browser's page. The page hands over its query as the command line
// (?seed=42&classic becomes --seed 42 --classic), keeps the player's files in /data and the
// shipped data in /game; the rest is the desktop game's own run.
#include <emscripten.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "aids/page_guide.hpp"
#include "aids/window_aids.hpp"
#include "platform/backend_web.hpp"
#include "platform/drawing.hpp"
#include "platform/headless_backend.hpp"
#include "platform/platform.hpp"
#include "platform/rgba_mirror.hpp"
#include "replay/playback.hpp"
#include "replay/state_digest.hpp"
#include "run/startup.hpp"
#include "shell/game.hpp"
#include "shell/game_options.hpp"
#include "world/world_state.hpp"

EM_JS(void, page_game_over, (int status), {
    if (Module.gameOver) Module.gameOver(status);
});

namespace {

constexpr int kUsageError = 2;

// The browser compiles each function of the game quickly and plainly when it first runs, and well
// only once it has run a while: the player's first key presses would wait for both. So a short
// game nobody sees is played first on the shipped data: a few steps and a fight, its pictures
// drawn and taken as the page takes them, its state digested as a recording's checkpoints are.
// Then nothing of it is left: the world is reset as between two games, and a failure in it only
// costs the head start.
constexpr int32_t kUnseenSeed = 7;
constexpr int32_t kUnseenSteps = 60;
constexpr int64_t kUnseenPassesPerDigest = 25;

std::string unseen_game_keys() {
    std::string keys = "1\n6\n5\n";
    for (int32_t step = 0; step < kUnseenSteps; ++step)
        keys += step % 12 == 11 ? "up\n" : "right\n";
    return keys + "pass 40\n";
}

void play_unseen_game(const grotmere::KeyScript& script, grotmere::HeadlessBackend& backend) {
    if (grotmere::start_game(grotmere::StartupOptions{kUnseenSeed})) return;
    grotmere::prepare_playback(script);
    grotmere::Playback playback(script, grotmere::Playback::PastTheEnd::Nothing);
    grotmere::RgbaMirror mirror;
    while (playback.passes() < script.total_passes() && !playback.last().end) {
        playback.run_checked(backend);
        mirror.take(grotmere::framebuffer());
        if (playback.passes() % kUnseenPassesPerDigest == 0) grotmere::state_digest();
    }
}

void warm_up_the_code() {
    std::error_code error;
    const std::filesystem::path begun_in = std::filesystem::current_path(error);
    std::filesystem::current_path("/game", error);
    if (error) return;
    const grotmere::ScriptParse parsed = grotmere::parse_key_script(unseen_game_keys());
    grotmere::HeadlessBackend backend;
    grotmere::set_backend(&backend);
    grotmere::set_window_aids(grotmere::WindowAids{true, false, {}});
    try {
        if (!parsed.error) play_unseen_game(parsed.script, backend);
    } catch (const std::exception&) {
    }
    grotmere::set_backend(nullptr);
    grotmere::set_window_aids(grotmere::WindowAids{});
    grotmere::reset_world();
    std::filesystem::current_path(begun_in, error);
}

int run(int argc, char** argv) {
    grotmere::GameArgs parsed =
        grotmere::parse_game_args(std::vector<std::string>(argv + 1, argv + argc));
    if (parsed.usage_error) {
        std::fprintf(stderr, "grotmere: %s\n", parsed.usage_error->c_str());
        return kUsageError;
    }
    // Recordings, morgue files, the hall of fame and an unfinished game live in the page's
    // storage, which the page mounts there before the game starts.
    setenv("XDG_DATA_HOME", "/data", 0);
    if (!parsed.options.dir) parsed.options.dir = "/game";
    std::optional<grotmere::ReplayFile> replay;
    if (parsed.options.replay_file) {
        replay = grotmere::read_replay(*parsed.options.replay_file);
        if (!replay) return kUsageError;
    }
    try {
        warm_up_the_code();
        grotmere::WebBackend backend;
        // A recording played back takes the window's keys for itself.
        const bool window_aids = !parsed.options.classic && !replay;
        backend.set_page_guide([window_aids] { return grotmere::page_guide(window_aids); });
        return grotmere::run_game(backend, parsed.options, replay ? &*replay : nullptr);
    } catch (const grotmere::ProgramExit& exit) {
        return exit.status;
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int status = run(argc, argv);
    page_game_over(status);
    return status;
}
