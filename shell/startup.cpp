#include "shell/startup.hpp"

#include "shell/field_registry.hpp"
#include "shell/startup_definitions.hpp"
#include "shell/world_state.hpp"
#include "ui/random.hpp"
#include "ui/text.hpp"
#include "ui/text_file.hpp"

namespace grotmere {

std::string read_app_title(const std::string& build_counter_path) {
    std::string number_line;
    std::string date_line;
    if (TextFileHandle file = open_text_file(build_counter_path)) {
        number_line = read_line(*file);
        date_line = read_line(*file);
        close_file(file);
    }
    return "Grotmere Alpha Build " + int_to_text(text_to_int(number_line)) + "/" + date_line;
}

std::optional<StartupFailure> start_game(const StartupOptions& options) {
    // Step 1: the record types and the program-wide lists (which a fresh world already holds).
    register_record_types();

    seed_random(options.seed ? *options.seed : millisecs());
    app_title = read_app_title("build.cnt");
    set_window_caption(app_title);

    // Steps 4 and 5: item and monster prototypes.
    if (auto failure = load_prototypes()) return failure;

    message_lines.fill("");

    // Step 7: the map object with its first 80 x 25 tiles.

    frame_timer = create_timer(20);

    // Steps 9 and 10: the camera, then the map file.
    // Steps 11 and 12: key bindings and the player.
    if (auto failure = load_bindings_and_player()) return failure;
    // Step 13: the starting inventory.
    // Step 14: the first sight test and light pass.

    try {
        open_window(kWindowWidth, kWindowHeight, app_title);
    } catch (const ProgramExit& exit) {
        return StartupFailure{"the window could not be opened", exit.status == 0 ? 1 : exit.status};
    }
    return std::nullopt;
}

}  // namespace grotmere
