// The help: every command of the game with the key the loaded key-binding file gives it, by name,
// and a legend of what the map shows, in the colours the map view draws.
#pragma once

#include <cstdint>

namespace grotmere {

class TTastatur;

// Which of the window's own keys the binding file left free, so the help names only keys that
// work.
struct WindowKeys {
    bool history = true;     // F2
    bool fullscreen = true;  // F11, and Alt+Enter
    bool rest = true;        // Z
    bool explore = true;     // O
    bool look = true;        // X, and T in it
    bool overview = true;    // M
    bool run = true;         // Left Ctrl with a direction
};

// Over the whole window; `keys` may be null (no bindings), every command then reads "-".
void draw_help_overlay(const TTastatur* keys, WindowKeys window_keys);

}  // namespace grotmere
