// The game in its window. The command line is read before anything of SDL starts, so --help and
// --version work without a display.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "base/command_line.hpp"
#include "base/safe_file.hpp"
#include "files/hall_of_fame.hpp"
#include "platform/backend_sdl.hpp"
#include "platform/platform.hpp"
#include "shell/game.hpp"
#include "shell/game_options.hpp"

int main(int argc, char** argv) try {
    const grotmere::GameArgs parsed =
        grotmere::parse_game_args(std::vector<std::string>(argv + 1, argv + argc));
    using Action = grotmere::GameArgs::Action;
    const bool help = parsed.action == Action::Help;
    if (auto done = grotmere::answer_before_running(
            grotmere::game_command_line(),
            help ? grotmere::CommandLine::Action::Help : grotmere::CommandLine::Action::Run,
            parsed.usage_error))
        return *done;
    if (parsed.action == Action::Scores)
        return grotmere::print_scores(parsed.options.dir, parsed.options.daily);
    // The game's version names the data folder it would read too.
    if (parsed.action == Action::Version) {
        std::fputs(grotmere::game_version(parsed.options.dir).c_str(), stdout);
        return 0;
    }
    std::optional<grotmere::ReplayFile> replay;
    if (parsed.options.replay_file) {
        replay = grotmere::read_replay(*parsed.options.replay_file);
        if (!replay) return grotmere::kUsageError;
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
