#include "platform/dom_keymap.hpp"

#include <gtest/gtest.h>

#include <utility>

namespace grotmere {
namespace {

// The page names a key by its place on the board; the game must get the window's code for it,
// rows in order, the keypad and both sides of the modifiers apart, and nothing for a name that
// only looks like one.
TEST(DomKeymap, NamesGiveTheWindowsCodes) {
    const std::pair<const char*, int32_t> known[] = {
        {"KeyA", 'A'},       {"KeyZ", 'Z'},      {"Digit1", '1'},       {"Digit0", '0'},
        {"Numpad9", 105},    {"Numpad0", 96},    {"F1", 112},           {"F12", 123},
        {"F13", 124},        {"F24", 135},       {"ArrowLeft", 37},     {"Enter", 13},
        {"NumpadEnter", 13}, {"ShiftLeft", 160}, {"ControlRight", 163}, {"AltRight", 165}};
    for (const auto& [name, code] : known)
        EXPECT_EQ(key_code_of_dom_code(name), code) << name;
    for (const char* unknown : {"", "Key", "KeyAA", "Keya", "F0", "F25", "F01", "Digit", "Fn"})
        EXPECT_EQ(key_code_of_dom_code(unknown), 0) << unknown;
}

}  // namespace
}  // namespace grotmere
