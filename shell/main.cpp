// The game in its window. The command line is read before anything of SDL starts, so --help and
// --version work without a display.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "base/safe_file.hpp"
#include "files/hall_of_fame.hpp"
#include "platform/backend_sdl.hpp"
#include "platform/platform.hpp"
#include "shell/game.hpp"
#include "shell/game_options.hpp"

namespace {

constexpr int kUsageError = 2;

}  // namespace

int main(int argc, char** argv) try {
    const grotmere::GameArgs parsed =
        grotmere::parse_game_args(std::vector<std::string>(argv + 1, argv + argc));
    if (parsed.usage_error) {
        std::fprintf(stderr, "grotmere: %s\n%s", parsed.usage_error->c_str(),
                     grotmere::game_usage().c_str());
        return kUsageError;
    }
    if (parsed.action == grotmere::GameArgs::Action::Help) {
        std::fputs(grotmere::game_usage().c_str(), stdout);
        return 0;
    }
    if (parsed.action == grotmere::GameArgs::Action::Scores) {
        return grotmere::print_scores(parsed.options.dir);
    }
    if (parsed.action == grotmere::GameArgs::Action::Version) {
        std::fputs(grotmere::game_version(parsed.options.dir).c_str(), stdout);
        return 0;
    }
    std::optional<grotmere::ReplayFile> replay;
    if (parsed.options.replay_file) {
        replay = grotmere::read_replay(*parsed.options.replay_file);
        if (!replay) return kUsageError;
    }
    try {
        grotmere::SdlBackend backend(
            grotmere::SdlWindowOptions{parsed.options.fullscreen, parsed.options.scale});
        return grotmere::run_game(backend, parsed.options, replay ? &*replay : nullptr);
    } catch (const grotmere::ProgramExit& exit) {
        return exit.status;
    }
} catch (const std::filesystem::filesystem_error& error) {
    // No program ends on an abort for a file it could not handle.
    std::fprintf(stderr, "grotmere: %s\n", grotmere::file_system_failure(error).c_str());
    return 1;
}
