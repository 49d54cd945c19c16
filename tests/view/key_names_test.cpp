#include <gtest/gtest.h>

#include "view/key_names.hpp"

namespace grotmere {
namespace {

TEST(KeyNames, ThePlayersNamesForTheBindingFilesCodes) {
    EXPECT_EQ(key_name(37), "Left");
    EXPECT_EQ(key_name('G'), "G");
    EXPECT_EQ(key_name('1'), "1");
    EXPECT_EQ(key_name(100), "Keypad 4");
    EXPECT_EQ(key_name(112), "F1");
    EXPECT_EQ(key_name(123), "F12");
    EXPECT_EQ(key_name(160), "Left Shift");
    EXPECT_EQ(key_name(165), "Right Alt");
    EXPECT_EQ(key_name(32), "Space");
    EXPECT_EQ(key_name(188), ",");
    EXPECT_EQ(key_name(0), "-") << "no key";
    EXPECT_EQ(key_name(16), "Key 16") << "generic Shift never arrives; it is named by number";
    EXPECT_EQ(key_name(-3), "Key -3");
}

}  // namespace
}  // namespace grotmere
