// The game's own picture: an 820 x 470 RGB framebuffer and the drawing primitives that fill it.
// The window shows exactly these pixels, and tests read them back, so what a test sees is what the
// player sees. Everything is clipped to the framebuffer; coordinates outside it are harmless.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace grotmere {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

class Framebuffer {
public:
    Framebuffer(int32_t width, int32_t height);  // a negative size counts as 0
    Framebuffer(const Framebuffer&) = default;
    // Taking another picture is a change like any other: the version only ever grows, so a backend
    // that remembers the last version it showed never mistakes the new picture for the old one.
    // (No move operations: a moved-from framebuffer would keep its size without its pixels.)
    Framebuffer& operator=(const Framebuffer& other);

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    // Black outside the framebuffer.
    Rgb pixel(int32_t x, int32_t y) const;
    void put(int32_t x, int32_t y, Rgb color);  // ignored outside the framebuffer
    void fill(Rgb color);
    // Columns left to right - 1 of one row; the span is clipped to the framebuffer.
    void fill_row(int32_t y, int32_t left, int32_t right, Rgb color);
    // Columns left to right - 1 of rows top to bottom - 1, clipped to the framebuffer.
    void fill_rect(int32_t left, int32_t top, int32_t right, int32_t bottom, Rgb color);
    // The pixels x to x + 7 of row y whose bit is set in `bits`, bit 7 first (a glyph's row);
    // those outside the framebuffer are left out.
    void put_bits(int32_t x, int32_t y, uint8_t bits, Rgb color);
    // Rows of width() pixels, top row first; 3 bytes (r, g, b) per pixel.
    const std::vector<uint8_t>& bytes() const { return bytes_; }
    // Bumped by every change, so a backend can skip uploading an unchanged picture.
    uint64_t version() const { return version_; }

    friend bool operator==(const Framebuffer& a, const Framebuffer& b) {
        return a.width_ == b.width_ && a.height_ == b.height_ && a.bytes_ == b.bytes_;
    }

private:
    int32_t width_;
    int32_t height_;
    std::vector<uint8_t> bytes_;
    uint64_t version_ = 0;
};

// Drawing on a framebuffer in one colour. The game's service functions (set_color, draw_rect, ...)
// forward to one Canvas over the game's framebuffer.
class Canvas {
public:
    explicit Canvas(Framebuffer& target) : target_(&target) {}

    // Components are taken modulo 256, as a byte-wide colour channel would.
    void set_color(int32_t r, int32_t g, int32_t b);
    Rgb color() const { return color_; }
    void clear(Rgb color);
    // Opaque; a width or height of 0 or less draws nothing.
    void rect(int32_t x, int32_t y, int32_t w, int32_t h);
    // One pixel wide, both end points included.
    void line(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    // The built-in 8 x 16 font: only glyph pixels are drawn; each character of code 32-127
    // advances 8 pixels, any other code is skipped and takes no space.
    void text(std::string_view text, int32_t x, int32_t y);

private:
    Framebuffer* target_;
    Rgb color_{255, 255, 255};
};

// The 8 x 16 glyphs for codes 32 to 127: glyph (code - 32), row r is kFontGlyphs[code - 32][r],
// bit 7 the leftmost pixel.
inline constexpr int32_t kGlyphWidth = 8;
inline constexpr int32_t kGlyphHeight = 16;
extern const uint8_t kFontGlyphs[96][16];

}  // namespace grotmere
