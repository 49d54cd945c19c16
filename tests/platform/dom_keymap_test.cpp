#include "platform/dom_keymap.hpp"

#include "platform/key_codes.hpp"

#include <gtest/gtest.h>

namespace grotmere {
namespace {

// The page names a key by its place on the board; the game must get the window's code for it,
// rows in order, the keypad and both sides of the modifiers apart, and nothing for a name that
// only looks like one.
TEST(DomKeymap, NamesGiveTheWindowsCodes) {
    EXPECT_EQ(key_code_of_dom_code("KeyA"), key::letter('A'));
    EXPECT_EQ(key_code_of_dom_code("KeyZ"), key::letter('Z'));
    EXPECT_EQ(key_code_of_dom_code("Digit1"), key::digit(1));
    EXPECT_EQ(key_code_of_dom_code("Digit0"), key::digit(0));
    EXPECT_EQ(key_code_of_dom_code("Numpad9"), key::keypad_digit(9));
    EXPECT_EQ(key_code_of_dom_code("Numpad0"), key::keypad_digit(0));
    EXPECT_EQ(key_code_of_dom_code("F1"), key::function_key(1));
    EXPECT_EQ(key_code_of_dom_code("F12"), key::function_key(12));
    EXPECT_EQ(key_code_of_dom_code("F13"), key::function_key(13));
    EXPECT_EQ(key_code_of_dom_code("F24"), key::function_key(24));
    EXPECT_EQ(key_code_of_dom_code("ArrowLeft"), key::kLeft);
    EXPECT_EQ(key_code_of_dom_code("Enter"), key::kReturn);
    EXPECT_EQ(key_code_of_dom_code("NumpadEnter"), key::kReturn);
    EXPECT_EQ(key_code_of_dom_code("ShiftLeft"), key::kLeftShift);
    EXPECT_EQ(key_code_of_dom_code("AltRight"), key::kRightAlt);
    EXPECT_EQ(key_code_of_dom_code("ControlRight"), key::kRightControl);
    for (const char* unknown : {"", "Key", "KeyAA", "Keya", "F0", "F25", "F01", "Digit", "Fn"})
        EXPECT_EQ(key_code_of_dom_code(unknown), 0) << unknown;
}

}  // namespace
}  // namespace grotmere
