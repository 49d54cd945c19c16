// The built-in font's shapes: text lines and map cells are 10 pixels apart, so every glyph must
// stay within the cell's top 10 rows, and characters a player must tell apart must differ.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <string>

#include "platform/canvas.hpp"

namespace grotmere {
namespace {

constexpr int32_t kLinePitch = 10;

const uint8_t* glyph(char c) {
    return kFontGlyphs[static_cast<unsigned char>(c) - 32];
}

// How many pixels two glyphs differ in.
int32_t difference(char a, char b) {
    int32_t differing = 0;
    for (int32_t row = 0; row < kGlyphHeight; ++row)
        differing += std::popcount(static_cast<unsigned>(glyph(a)[row] ^ glyph(b)[row]));
    return differing;
}

TEST(Font, EveryGlyphStaysWithinTheTopTenRows) {
    for (int32_t code = 32; code <= 127; ++code) {
        for (int32_t row = kLinePitch; row < kGlyphHeight; ++row)
            EXPECT_EQ(kFontGlyphs[code - 32][row], 0) << "code " << code << " row " << row;
    }
    // And the letters use the room: a font drawn too small would pass the test above too.
    int32_t lowest = 0;
    for (int32_t row = 0; row < kGlyphHeight; ++row) {
        if (glyph('g')[row] != 0) lowest = row;
    }
    EXPECT_EQ(lowest, kLinePitch - 1) << "descenders reach the last row of the line";
}

TEST(Font, LeavesARowBetweenLinesAndAColumnBetweenLetters) {
    // The top row is blank for every character, so a descender of the line above never touches
    // the next line's capitals; letters keep the last column free for the gap between them.
    for (int32_t code = 33; code <= 126; ++code) {
        EXPECT_EQ(kFontGlyphs[code - 32][0], 0) << "code " << code;
        if (code >= 'a' && code <= 'z') {
            for (int32_t row = 0; row < kGlyphHeight; ++row)
                EXPECT_EQ(kFontGlyphs[code - 32][row] & 1, 0) << "code " << code;
        }
    }
}

TEST(Font, CharactersPlayersConfuseDiffer) {
    const std::array<std::string, 4> groups = {"Il1|!", "O0QD", "5S", "8B"};
    for (const std::string& group : groups) {
        for (size_t i = 0; i < group.size(); ++i) {
            for (size_t j = i + 1; j < group.size(); ++j) {
                EXPECT_GE(difference(group[i], group[j]), 3) << group[i] << " and " << group[j];
            }
        }
    }
    // The map's glyphs: the player, heaps and missiles against every capital a monster may carry.
    for (char map_glyph : {'Q', 'T', '*'}) {
        for (char letter = 'A'; letter <= 'Z'; ++letter) {
            if (letter != map_glyph) EXPECT_GE(difference(map_glyph, letter), 3) << letter;
        }
    }
}

}  // namespace
}  // namespace grotmere
