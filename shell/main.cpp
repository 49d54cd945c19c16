// The game in its window.
#include "platform/backend_sdl.hpp"
#include "platform/platform.hpp"
#include "shell/game.hpp"

int main() {
    try {
        grotmere::SdlBackend backend;
        return grotmere::run_game(backend);
    } catch (const grotmere::ProgramExit& exit) {
        return exit.status;
    }
}
