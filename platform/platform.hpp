// The service layer: everything the game needs from its surroundings.
//
// Game code calls only these functions; it never sees a window library. Drawing (in
// platform/drawing.hpp, for the view and the shell only) goes into the game's own 820 x 470
// framebuffer, the keyboard is a table of hit counts and down flags, and the
// active backend (the SDL window, or the headless one of the tests and grotmere-sim) shows the
// framebuffer, feeds the keyboard and paces the timer.
#pragma once

#include <cstdint>
#include <string>

namespace grotmere {

class Backend;
class Framebuffer;
class KeyboardState;

inline constexpr int32_t kWindowWidth = 820;
inline constexpr int32_t kWindowHeight = 470;

// Installs the backend that the services below talk to. The backend must outlive its use; passing
// nullptr leaves the services headless and silent (drawing still fills the framebuffer).
void set_backend(Backend* backend);
Backend* current_backend();

// --- keyboard -------------------------------------------------------------------------------
int32_t key_hit(int32_t code);
int32_t key_down(int32_t code);
int32_t close_requested();
// Off by default: events are taken in whenever the game tests a key. On, they are taken in only
// while the game waits for the timer, as the simulator applies its script, so that a recording of
// the keys of each pass replays the game exactly.
void take_in_events_only_at_wait(bool only_at_wait);
// Hits of the key made while Alt was held, counted apart from key_hit (window shortcuts only).
int32_t key_hit_with_alt(int32_t code);
KeyboardState& keyboard();

// Between a window and the whole screen; nothing without a window.
void toggle_fullscreen();

// --- timing ---------------------------------------------------------------------------------
struct FrameTimer {
    int32_t hz = 0;
    int64_t start_ms = 0;  // backend clock when the timer was made
    int64_t consumed = 0;  // ticks already handed out by timer_wait
};

int32_t millisecs();
FrameTimer create_timer(int32_t hz);
int32_t timer_wait(FrameTimer& timer);

// Whether the game checks the promises its fast paths rest on, and throws std::logic_error where
// one is broken: on in the tests, the soak, the whole-game fuzzer and grotmere-sim
// --check-contracts, wherever check_unchanged_frames (platform/drawing.hpp) turned on the
// frame's. Each check walks the map rectangle, never the whole grid.
bool contracts_checked();

// --- notices, console and exit --------------------------------------------------------------
void notify(const std::string& text);
void print_line(const std::string& text);

// Thrown by exit_program and caught by whoever runs the game: the game's own exit must unwind to
// the entry point, so that the simulator can still write its dump and the window closes cleanly.
struct ProgramExit {
    int status = 0;
};
[[noreturn]] void exit_program();

// The caption of the window, also the title of every notice.
void set_window_caption(const std::string& caption);
const std::string& window_caption();

}  // namespace grotmere
