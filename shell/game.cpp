#include "shell/game.hpp"

#include <cstdio>

#include "platform/backend.hpp"
#include "shell/main_loop.hpp"
#include "shell/startup.hpp"

namespace grotmere {

namespace {

void report_startup_failure(const StartupFailure& failure) {
    std::fprintf(stderr, "grotmere: %s\n", failure.message.c_str());
    // A message box too, for a player who started the game without a terminal.
    notify(failure.message);
}

}  // namespace

int run_game(Backend& backend) {
    set_backend(&backend);
    if (auto failure = start_game(StartupOptions{})) {
        report_startup_failure(*failure);
        set_backend(nullptr);
        return failure->status;
    }
    while (!run_pass().end) {
    }
    set_backend(nullptr);
    return 0;
}

}  // namespace grotmere
