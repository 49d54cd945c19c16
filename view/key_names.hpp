// The names a player reads for the key codes of the key-binding file: "Left", "G", "1",
// "Keypad 4", "Left Shift", "F1". A code the keyboard has no name for reads "Key " + its number,
// and 0 (no key) reads "-".
#pragma once

#include <cstdint>
#include <string>

namespace grotmere {

std::string key_name(int32_t code);

}  // namespace grotmere
