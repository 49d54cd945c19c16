#include "platform/sdl_keymap.hpp"

#include "platform/key_codes.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <set>

namespace grotmere {
namespace {

// Scancodes are the USB HID usage numbers, which run through each row of keys in order; the
// game's codes must keep each row's order and tell the keypad, the digits and the sides apart.
TEST(SdlKeymap, EachRowOfKeysKeepsItsOrder) {
    for (int32_t i = 0; i < 26; ++i)
        EXPECT_EQ(windows_key_code(4 + i), key::letter(static_cast<char>('A' + i))) << i;
    for (int32_t d = 1; d <= 9; ++d)
        EXPECT_EQ(windows_key_code(29 + d), key::digit(d)) << d;
    EXPECT_EQ(windows_key_code(39), key::digit(0)) << "0 ends the digit row";
    for (int32_t f = 1; f <= 12; ++f)
        EXPECT_EQ(windows_key_code(57 + f), key::function_key(f)) << f;
    for (int32_t d = 1; d <= 9; ++d)
        EXPECT_EQ(windows_key_code(88 + d), key::keypad_digit(d)) << d;
    EXPECT_EQ(windows_key_code(98), key::keypad_digit(0));
}

TEST(SdlKeymap, TheGamesNamedKeysAreReachable) {
    const int32_t named[] = {
        key::kBackspace,   key::kTab,          key::kReturn,   key::kEscape,    key::kSpace,
        key::kLeft,        key::kUp,           key::kRight,    key::kDown,      key::kHome,
        key::kEnd,         key::kPageUp,       key::kPageDown, key::kLeftShift, key::kRightShift,
        key::kLeftControl, key::kRightControl, key::kLeftAlt,  key::kRightAlt};
    std::set<int32_t> reachable;
    for (int32_t scancode = 0; scancode < 1024; ++scancode)
        reachable.insert(windows_key_code(scancode));
    for (int32_t code : named)
        EXPECT_TRUE(reachable.count(code)) << code;
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
