#include "platform/game_icon.hpp"

#include <algorithm>

namespace grotmere {

namespace {

// The glyph's own 8 x 8 pixels sit two rows down in its 8 x 16 cell.
constexpr int32_t kGlyphTop = 2;
constexpr int32_t kGlyphSize = 8;

constexpr Rgb kFloor{30, 30, 30};
constexpr Rgb kPlayer{0, 255, 0};
constexpr Rgb kLamp{255, 255, 0};

void frame(Framebuffer& icon, int32_t width) {
    const int32_t size = icon.width();
    for (int32_t y = 0; y < size; ++y) {
        const bool rim_row = y < width || y >= size - width;
        if (rim_row) {
            icon.fill_row(y, 0, size, kLamp);
        } else {
            icon.fill_row(y, 0, width, kLamp);
            icon.fill_row(y, size - width, size, kLamp);
        }
    }
}

void glyph(Framebuffer& icon, char code, int32_t scale) {
    const int32_t side = kGlyphSize * scale;
    const int32_t left = (icon.width() - side) / 2;
    const int32_t top = (icon.height() - side) / 2;
    const uint8_t* rows = kFontGlyphs[code - 32];
    for (int32_t row = 0; row < kGlyphSize; ++row) {
        for (int32_t column = 0; column < kGlyphSize; ++column) {
            if (!(rows[kGlyphTop + row] & (0x80 >> column))) continue;
            for (int32_t y = 0; y < scale; ++y) {
                icon.fill_row(top + row * scale + y, left + column * scale,
                              left + (column + 1) * scale, kPlayer);
            }
        }
    }
}

}  // namespace

Framebuffer draw_game_icon(int32_t size) {
    Framebuffer icon(size, size);
    icon.fill(kFloor);
    frame(icon, std::max(1, size / 32));
    glyph(icon, 'Q', std::max(1, size * 3 / 4 / kGlyphSize));
    return icon;
}

}  // namespace grotmere
