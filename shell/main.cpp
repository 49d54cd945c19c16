// The game in its window.
#include "shell/game.hpp"
#include "ui/backend_sdl.hpp"
#include "ui/platform.hpp"

int main() {
    try {
        grotmere::SdlBackend backend;
        return grotmere::run_game(backend);
    } catch (const grotmere::ProgramExit& exit) {
        return exit.status;
    }
}
