// The game in the browser's page. The page hands over its query as the command line
// (?seed=42&classic becomes --seed 42 --classic), keeps the player's files in /data and the
// shipped data in /game; the rest is the desktop game's own run.
#include <emscripten.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "aids/page_guide.hpp"
#include "platform/backend_web.hpp"
#include "platform/platform.hpp"
#include "shell/game.hpp"
#include "shell/game_options.hpp"

EM_JS(void, page_game_over, (int status), {
    if (Module.gameOver) Module.gameOver(status);
});

namespace {

constexpr int kUsageError = 2;

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
