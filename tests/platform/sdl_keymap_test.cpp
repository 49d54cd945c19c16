#include "platform/sdl_keymap.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <set>

namespace grotmere {
namespace {

// Scancodes are the USB HID usage numbers; the expected codes are the Windows virtual keys.
struct Key {
    const char* name;
    int32_t scancode;
    int32_t code;
};

TEST(SdlKeymap, GivesTheWindowsCodeOfEachKindOfKey) {
    const Key keys[] = {
        {"A", 4, 65},
        {"Z", 29, 90},
        {"1", 30, 49},
        {"9", 38, 57},
        {"0", 39, 48},
        {"Return", 40, 13},
        {"Escape", 41, 27},
        {"Backspace", 42, 8},
        {"Tab", 43, 9},
        {"Space", 44, 32},
        {"-", 45, 189},
        {"=", 46, 187},
        {"[", 47, 219},
        {"]", 48, 221},
        {"\\", 49, 220},
        {";", 51, 186},
        {"'", 52, 222},
        {"`", 53, 192},
        {",", 54, 188},
        {".", 55, 190},
        {"/", 56, 191},
        {"CapsLock", 57, 20},
        {"F1", 58, 112},
        {"F12", 69, 123},
        {"PrintScreen", 70, 44},
        {"ScrollLock", 71, 145},
        {"Pause", 72, 19},
        {"Insert", 73, 45},
        {"Home", 74, 36},
        {"PageUp", 75, 33},
        {"Delete", 76, 46},
        {"End", 77, 35},
        {"PageDown", 78, 34},
        {"Right", 79, 39},
        {"Left", 80, 37},
        {"Down", 81, 40},
        {"Up", 82, 38},
        {"NumLock", 83, 144},
        {"KP /", 84, 111},
        {"KP *", 85, 106},
        {"KP -", 86, 109},
        {"KP +", 87, 107},
        {"KP Enter", 88, 13},
        {"KP 1", 89, 97},
        {"KP 5", 93, 101},
        {"KP 9", 97, 105},
        {"KP 0", 98, 96},
        {"KP .", 99, 110},
        {"LCtrl", 224, 162},
        {"LShift", 225, 160},
        {"LAlt", 226, 164},
        {"RCtrl", 228, 163},
        {"RShift", 229, 161},
        {"RAlt", 230, 165},
    };
    for (const Key& key : keys) {
        EXPECT_EQ(windows_key_code(key.scancode), key.code) << key.name;
    }
}

TEST(SdlKeymap, UnknownScancodesGiveNoCode) {
    for (int32_t scancode : {INT32_MIN, -1, 0, 1, 3, 102, 232, 300, 512, INT32_MAX}) {
        EXPECT_EQ(windows_key_code(scancode), 0) << scancode;
    }
}

// A slip in the table shows up as a code outside 1-255, as the shared modifier codes, or as two
// keys the game cannot tell apart.
TEST(SdlKeymap, EveryKeyHasItsOwnCodeInRange) {
    // Windows itself gives these pairs one code each.
    const std::set<std::set<int32_t>> shared = {{40, 88}, {49, 50}};
    std::map<int32_t, std::set<int32_t>> scancodes_of;
    for (int32_t scancode = 0; scancode < 1024; ++scancode) {
        int32_t code = windows_key_code(scancode);
        if (code == 0) continue;
        EXPECT_LE(code, 255) << scancode;
        EXPECT_TRUE(code < 16 || code > 18) << "shared modifier code from " << scancode;
        scancodes_of[code].insert(scancode);
    }
    for (const auto& [code, scancodes] : scancodes_of) {
        if (scancodes.size() > 1) {
            EXPECT_TRUE(shared.count(scancodes)) << "code " << code;
        }
    }
    EXPECT_GE(scancodes_of.size(), 100u);
}

}  // namespace
}  // namespace grotmere
