// Start-up: builds the program-wide objects, reads every data file in its fixed order and opens
// the window. Called once by the entry point (the real game or grotmere-sim) before the main loop.
// A start-up that cannot go on says why and with which exit status; it never reports success
// for a game that cannot run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace grotmere {

struct StartupOptions {
    // Replaces the millisecond clock as the random seed, so a run can be replayed.
    std::optional<int32_t> seed;
};

struct StartupFailure {
    std::string message;  // names the file and what is wrong with it
    int status = 1;
};

std::optional<StartupFailure> start_game(const StartupOptions& options);

// "Grotmere Alpha Build " + build number + "/" + second line, from build.cnt in the working
// directory; a missing file or line gives 0 and an empty text.
std::string read_app_title(const std::string& build_counter_path);

}  // namespace grotmere
