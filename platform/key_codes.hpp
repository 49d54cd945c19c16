// The key codes the game reads: the Windows virtual-key code set, which is also the code set of
// the key-binding file. The key map, the key script, the main loop and the tests all name keys
// through these.
#pragma once

#include <cstdint>

namespace grotmere::key {

inline constexpr int32_t kBackspace = 8;
inline constexpr int32_t kTab = 9;
inline constexpr int32_t kReturn = 13;
inline constexpr int32_t kEscape = 27;
inline constexpr int32_t kSpace = 32;
inline constexpr int32_t kPageUp = 33;
inline constexpr int32_t kPageDown = 34;
inline constexpr int32_t kEnd = 35;
inline constexpr int32_t kHome = 36;
inline constexpr int32_t kLeft = 37;
inline constexpr int32_t kUp = 38;
inline constexpr int32_t kRight = 39;
inline constexpr int32_t kDown = 40;
inline constexpr int32_t kLeftShift = 160;
inline constexpr int32_t kRightShift = 161;
inline constexpr int32_t kLeftControl = 162;
inline constexpr int32_t kRightControl = 163;
inline constexpr int32_t kLeftAlt = 164;
inline constexpr int32_t kRightAlt = 165;

// 'A' to 'Z' (either case) have the codes of their capitals.
constexpr int32_t letter(char c) {
    return c >= 'a' && c <= 'z' ? c - 'a' + 65 : c - 'A' + 65;
}
// The digits of the main row, 0 to 9, have the codes of their characters.
constexpr int32_t digit(int32_t d) {
    return 48 + d;
}
// The keypad's digits have codes of their own, whatever Num Lock says.
constexpr int32_t keypad_digit(int32_t d) {
    return 96 + d;
}
// F1 to F24.
constexpr int32_t function_key(int32_t n) {
    return 111 + n;
}

}  // namespace grotmere::key
