// The physical-key table of the SDL window: SDL scancodes turned into the Windows virtual-key codes
// the game reads (KeyboardState). backend_sdl.cpp calls it, and so does the browser's table
// (dom_keymap.cpp), which names the same keys. It needs no SDL header because
// SDL's scancodes are, by SDL's own promise, the USB HID keyboard usage numbers, so the table is
// written in those numbers and checked against SDL's names where SDL is included.
//
// Guarantees: every mapped key gives a code in 1-255; the keypad gives its own codes (96-111)
// whatever the Num Lock state; Shift, Control and Alt give only their left/right codes 160-165,
// never the shared 16-18; keys the game has no code for give 0.
#pragma once

#include <cstdint>

namespace grotmere {

// 0 for an unknown scancode or one outside the table.
int32_t windows_key_code(int32_t scancode);

}  // namespace grotmere
