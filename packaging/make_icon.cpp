// Draws the game's icon: the player's green "Q" of the map, in the game's own font, on the dark
// grey of an unlit floor, framed in lamp yellow. Run by the build for each size the desktop asks
// for:
//   grotmere-icon SIZE FILE.png
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/canvas.hpp"
#include "platform/png_writer.hpp"

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
}  // namespace grotmere

int main(int argc, char** argv) {
    const int32_t size = argc == 3 ? std::atoi(argv[1]) : 0;
    if (size < 16 || size > 1024) {
        std::fprintf(stderr, "usage: grotmere-icon SIZE FILE.png (SIZE 16 to 1024)\n");
        return 2;
    }
    grotmere::Framebuffer icon(size, size);
    icon.fill(grotmere::kFloor);
    grotmere::frame(icon, std::max(1, size / 32));
    // Three quarters of the icon, in whole pixels of the font.
    grotmere::glyph(icon, 'Q', std::max(1, size * 3 / 4 / grotmere::kGlyphSize));
    std::string error;
    if (!grotmere::write_png(icon, argv[2], &error)) {
        std::fprintf(stderr, "grotmere-icon: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
