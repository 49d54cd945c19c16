// The physical-key table of the browser's page: a key event's `code` ("KeyA", "Numpad1",
// "ShiftLeft") turned into the game's key code. The browser names the physical keys of the USB
// keyboard usage table, so the names are turned into those usage numbers and the SDL window's
// own table does the rest: a key gives the same code in the page as in the window.
#pragma once

#include <cstdint>
#include <string_view>

namespace grotmere {

// 0 for a name the table does not hold.
int32_t key_code_of_dom_code(std::string_view code);

}  // namespace grotmere
