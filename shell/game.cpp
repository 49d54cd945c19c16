#include "shell/game.hpp"

#include <cstdio>
#include <filesystem>

#include "platform/backend.hpp"
#include "shell/first_start.hpp"
#include "shell/game_options.hpp"
#include "shell/main_loop.hpp"
#include "shell/startup.hpp"

namespace grotmere {

namespace {

constexpr int kBadFolder = 2;

void report_startup_failure(const StartupFailure& failure) {
    std::fprintf(stderr, "grotmere: %s\n", failure.message.c_str());
    // A message box too, for a player who started the game without a terminal.
    notify(failure.message);
}

}  // namespace

int run_game(Backend& backend, const GameOptions& options) {
    if (options.dir) {
        std::error_code error;
        std::filesystem::current_path(*options.dir, error);
        if (error) {
            std::fprintf(stderr, "grotmere: cannot enter %s: %s\n", options.dir->c_str(),
                         error.message().c_str());
            return kBadFolder;
        }
    }
    set_backend(&backend);
    if (auto failure = start_game(StartupOptions{options.seed})) {
        report_startup_failure(*failure);
        set_backend(nullptr);
        return failure->status;
    }
    // Asked only once the game has started, so a folder that holds no game is not noted.
    const bool first_start =
        !options.classic && first_start_in(std::filesystem::current_path(), started_folders_file());
    set_window_aids(WindowAids{!options.classic, first_start});
    while (!run_pass().end) {
    }
    set_backend(nullptr);
    return 0;
}

}  // namespace grotmere
