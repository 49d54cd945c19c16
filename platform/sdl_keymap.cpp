#include "platform/sdl_keymap.hpp"

#include <array>

#include "platform/key_codes.hpp"

namespace grotmere {

namespace {

// Letters, digits and punctuation are taken from the physical key, not from the character the
// layout puts on it: the game's keys are places on the board (movement, the keypad compass, the
// row of commands), so on AZERTY or Dvorak they stay where a US keyboard has them, and keys that
// carry no ASCII character on some layout (the German ö key, say) still produce a code.
constexpr int32_t kUsageCount = 232;  // up to and including Right GUI (231)

struct Range {
    int32_t first_usage;
    int32_t last_usage;
    int32_t first_code;
};

struct Single {
    int32_t usage;
    int32_t code;
};

// Runs of keys whose codes are consecutive too.
constexpr Range kRanges[] = {
    {4, 29, key::letter('A')},
    {30, 38, key::digit(1)},  // 0 comes after 9 in USB order but before 1 in Windows
    {58, 69, key::function_key(1)},
    {89, 97, key::keypad_digit(1)},
    {104, 115, key::function_key(13)},
};

constexpr Single kSingles[] = {
    {39, key::digit(0)},
    {40, key::kReturn},
    {41, key::kEscape},
    {42, key::kBackspace},
    {43, key::kTab},
    {44, key::kSpace},
    {45, 189},  // -
    {46, 187},  // =
    {47, 219},  // [
    {48, 221},  // ]
    {49, 220},  // backslash
    {50, 220},  // the ISO key beside Return: Windows gives it the backslash key's scan code
    {51, 186},  // ;
    {52, 222},  // '
    {53, 192},  // `
    {54, 188},  // ,
    {55, 190},  // .
    {56, 191},  // /
    {57, 20},   // Caps Lock
    {70, 44},   // Print Screen
    {71, 145},  // Scroll Lock
    {72, 19},   // Pause
    {73, 45},   // Insert
    {74, key::kHome},
    {75, key::kPageUp},
    {76, 46},  // Delete
    {77, key::kEnd},
    {78, key::kPageDown},
    {79, key::kRight},
    {80, key::kLeft},
    {81, key::kDown},
    {82, key::kUp},
    {83, 144},  // Num Lock
    {84, 111},  // keypad /
    {85, 106},  // keypad *
    {86, 109},  // keypad -
    {87, 107},  // keypad +
    {88, 13},   // keypad Enter: Windows does not tell it from Return either
    {98, key::keypad_digit(0)},
    {99, 110},   // keypad .
    {100, 226},  // the ISO key beside left Shift
    {101, 93},   // Menu (application) key
    {116, 43},   // Execute
    {117, 47},   // Help
    {119, 41},   // Select
    {127, 173},  // Mute
    {128, 175},  // Volume Up
    {129, 174},  // Volume Down
    {224, key::kLeftControl},
    {225, key::kLeftShift},
    {226, key::kLeftAlt},
    {227, 91},  // left GUI (Windows key)
    {228, key::kRightControl},
    {229, key::kRightShift},
    {230, key::kRightAlt},  // AltGr
    {231, 92},              // right GUI
};

constexpr std::array<uint8_t, kUsageCount> build_table() {
    std::array<uint8_t, kUsageCount> table{};
    for (const Range& range : kRanges) {
        for (int32_t usage = range.first_usage; usage <= range.last_usage; ++usage) {
            table[usage] = static_cast<uint8_t>(range.first_code + (usage - range.first_usage));
        }
    }
    for (const Single& single : kSingles)
        table[single.usage] = static_cast<uint8_t>(single.code);
    return table;
}

constexpr std::array<uint8_t, kUsageCount> kTable = build_table();

}  // namespace

int32_t windows_key_code(int32_t scancode) {
    if (scancode < 0 || scancode >= kUsageCount) return 0;
    return kTable[scancode];
}

}  // namespace grotmere
