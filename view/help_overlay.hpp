// The help: every command of the game with the key the loaded key-binding file gives it, by name,
// and a legend of what the map shows, in the colours the map view draws. Its lines of commands
// are also what the page lists beside the picture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace grotmere {

class TTastatur;

// Which of the window's own keys the binding file left free, so the help names only keys that
// work.
struct WindowKeys {
    bool history = true;       // F2
    bool fullscreen = true;    // F11, and Alt+Enter
    bool rest = true;          // Z
    bool explore = true;       // O
    bool look = true;          // X, and T in it
    bool overview = true;      // M
    bool run = true;           // Left Ctrl with a direction
    bool pick = true;          // P
    bool drop_stack = true;    // D
    bool fire = true;          // F
    bool end_question = true;  // Escape asks before it ends the game
};

// One line of the help: what a command does and the keys that give it, as the player reads them.
struct HelpLine {
    std::string what;
    std::string keys;
};

// The slot commands one line each, or all on one line.
enum class SlotLines { Each, Together };

// The binding file's commands in the help's order, the slots last; `keys` may be null (no
// bindings), every command then reads "-".
std::vector<HelpLine> binding_help(const TTastatur* keys, SlotLines slots);
// The window's own commands whose keys the binding file leaves free, this help first.
std::vector<HelpLine> window_help(const TTastatur* keys, WindowKeys window_keys);

// Over the whole window; `keys` may be null (no bindings), every command then reads "-".
void draw_help_overlay(const TTastatur* keys, WindowKeys window_keys);

}  // namespace grotmere
