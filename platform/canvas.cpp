#include "platform/canvas.hpp"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace grotmere {

namespace {

size_t byte_count(int32_t width, int32_t height) {
    return static_cast<size_t>(width) * static_cast<size_t>(height) * 3;
}

// Sets `pixels` pixels from `at` on to one colour. A frame clears 385,000 pixels, and the map
// view fills thousands of squares: grey and black go by memset, other colours by copying the
// pixels already set, doubling each time.
void fill_pixels(uint8_t* at, size_t pixels, Rgb color) {
    if (pixels == 0) return;
    const size_t bytes = pixels * 3;
    if (color.r == color.g && color.g == color.b) {
        std::memset(at, color.r, bytes);
        return;
    }
    at[0] = color.r;
    at[1] = color.g;
    at[2] = color.b;
    for (size_t done = 3; done < bytes; done *= 2)
        std::memcpy(at + done, at, std::min(done, bytes - done));
}

}  // namespace

Framebuffer::Framebuffer(int32_t width, int32_t height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      bytes_(byte_count(width_, height_), 0) {}

Framebuffer& Framebuffer::operator=(const Framebuffer& other) {
    const uint64_t newest = std::max(version_, other.version_);
    width_ = other.width_;
    height_ = other.height_;
    bytes_ = other.bytes_;
    version_ = newest + 1;
    return *this;
}

Rgb Framebuffer::pixel(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return Rgb{};
    const size_t at = (static_cast<size_t>(y) * static_cast<size_t>(width_) + x) * 3;
    return Rgb{bytes_[at], bytes_[at + 1], bytes_[at + 2]};
}

void Framebuffer::put(int32_t x, int32_t y, Rgb color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    const size_t at = (static_cast<size_t>(y) * static_cast<size_t>(width_) + x) * 3;
    bytes_[at] = color.r;
    bytes_[at + 1] = color.g;
    bytes_[at + 2] = color.b;
    ++version_;
}

void Framebuffer::fill(Rgb color) {
    fill_pixels(bytes_.data(), bytes_.size() / 3, color);
    ++version_;
}

void Framebuffer::fill_row(int32_t y, int32_t left, int32_t right, Rgb color) {
    if (y >= 0 && y < height_) fill_rect(left, y, right, y + 1, color);
}

void Framebuffer::fill_rect(int32_t left, int32_t top, int32_t right, int32_t bottom, Rgb color) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width_);
    bottom = std::min(bottom, height_);
    if (left >= right || top >= bottom) return;
    const size_t row_bytes = static_cast<size_t>(width_) * 3;
    const size_t span_bytes = static_cast<size_t>(right - left) * 3;
    uint8_t* first =
        bytes_.data() + static_cast<size_t>(top) * row_bytes + static_cast<size_t>(left) * 3;
    fill_pixels(first, static_cast<size_t>(right - left), color);
    // The rows below are copies of the first.
    for (int32_t row = 1; row < bottom - top; ++row)
        std::memcpy(first + static_cast<size_t>(row) * row_bytes, first, span_bytes);
    ++version_;
}

void Framebuffer::put_bits(int32_t x, int32_t y, uint8_t bits, Rgb color) {
    if (y < 0 || y >= height_ || bits == 0) return;
    uint8_t* row = bytes_.data() + static_cast<size_t>(y) * static_cast<size_t>(width_) * 3;
    for (int32_t column = 0; column < 8; ++column) {
        const int64_t at = int64_t{x} + column;
        if ((bits & (0x80 >> column)) == 0 || at < 0 || at >= width_) continue;
        uint8_t* pixel = row + static_cast<size_t>(at) * 3;
        pixel[0] = color.r;
        pixel[1] = color.g;
        pixel[2] = color.b;
    }
    ++version_;
}

namespace {

// Plots in 64-bit coordinates, so that callers can step past the 32-bit range (a long string, a
// glyph row below y = INT32_MAX) without wrapping back onto the screen.
void plot(Framebuffer& target, int64_t x, int64_t y, Rgb color) {
    if (x < 0 || y < 0 || x >= target.width() || y >= target.height()) return;
    target.put(static_cast<int32_t>(x), static_cast<int32_t>(y), color);
}

// The pixel of a line at major-axis step `step` lies `round(step * minor_span / major_span)`
// pixels along the minor axis, halves rounding away from the start: what Bresenham's error term
// produces. Computing it directly lets the loop start at the framebuffer's edge instead of at an
// end point billions of pixels away. The product needs 66 bits, hence the 128-bit arithmetic.
int64_t minor_offset(int64_t step, int64_t major_span, int64_t minor_span) {
    if (major_span == 0) return 0;
    const __int128 twice = static_cast<__int128>(2) * step * minor_span + major_span;
    return static_cast<int64_t>(twice / (static_cast<__int128>(2) * major_span));
}

struct LineOnAxes {
    int64_t a1, b1, a2, b2;  // a is the major axis: the one the line advances along every step
    int64_t a_limit, b_limit;
    bool a_is_x;
};

void draw_along_major_axis(Framebuffer& target, LineOnAxes line, Rgb color) {
    // Always walk from the lower major coordinate, so a line drawn backwards covers the same
    // pixels as the same line drawn forwards.
    if (line.a1 > line.a2) {
        std::swap(line.a1, line.a2);
        std::swap(line.b1, line.b2);
    }
    const int64_t major_span = line.a2 - line.a1;
    const int64_t minor_delta = line.b2 - line.b1;
    const int64_t minor_span = std::abs(minor_delta);
    const int64_t minor_sign = minor_delta < 0 ? -1 : 1;
    const int64_t first = std::max<int64_t>(line.a1, 0);
    const int64_t last = std::min<int64_t>(line.a2, line.a_limit - 1);
    for (int64_t a = first; a <= last; ++a) {
        const int64_t b = line.b1 + minor_sign * minor_offset(a - line.a1, major_span, minor_span);
        if (b < 0 || b >= line.b_limit) continue;
        if (line.a_is_x) {
            plot(target, a, b, color);
        } else {
            plot(target, b, a, color);
        }
    }
}

void draw_glyph(Framebuffer& target, const uint8_t (&rows)[kGlyphHeight], int64_t x, int64_t y,
                Rgb color) {
    if (x <= -kGlyphWidth || x >= target.width()) return;
    for (int32_t row = 0; row < kGlyphHeight; ++row) {
        const int64_t at = y + row;
        if (at < 0 || at >= target.height()) continue;
        target.put_bits(static_cast<int32_t>(x), static_cast<int32_t>(at), rows[row], color);
    }
}

bool has_glyph(unsigned char code) {
    return code >= 32 && code <= 127;
}

}  // namespace

void Canvas::set_color(int32_t r, int32_t g, int32_t b) {
    color_ = Rgb{static_cast<uint8_t>(r & 0xFF), static_cast<uint8_t>(g & 0xFF),
                 static_cast<uint8_t>(b & 0xFF)};
}

void Canvas::clear(Rgb color) {
    target_->fill(color);
}

void Canvas::rect(int32_t x, int32_t y, int32_t w, int32_t h) {
    if (w <= 0 || h <= 0) return;
    // x + w can pass INT32_MAX, so the far edges are found in 64 bits.
    const int64_t left = std::max<int64_t>(x, 0);
    const int64_t top = std::max<int64_t>(y, 0);
    const int64_t right = std::min<int64_t>(static_cast<int64_t>(x) + w, target_->width());
    const int64_t bottom = std::min<int64_t>(static_cast<int64_t>(y) + h, target_->height());
    target_->fill_rect(static_cast<int32_t>(left), static_cast<int32_t>(top),
                       static_cast<int32_t>(right), static_cast<int32_t>(bottom), color_);
}

void Canvas::line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    const int64_t dx = std::abs(static_cast<int64_t>(x2) - x1);
    const int64_t dy = std::abs(static_cast<int64_t>(y2) - y1);
    const int64_t width = target_->width();
    const int64_t height = target_->height();
    if (dx >= dy) {
        draw_along_major_axis(*target_, {x1, y1, x2, y2, width, height, true}, color_);
    } else {
        draw_along_major_axis(*target_, {y1, x1, y2, x2, height, width, false}, color_);
    }
}

void Canvas::text(std::string_view text, int32_t x, int32_t y) {
    int64_t pen = x;
    for (char c : text) {
        // char may be signed: codes 128-255 must not turn into negative indices.
        const auto code = static_cast<unsigned char>(c);
        if (!has_glyph(code)) continue;
        if (pen >= target_->width()) return;  // nothing further right can show
        draw_glyph(*target_, kFontGlyphs[code - 32], pen, y, color_);
        pen += kGlyphWidth;
    }
}

}  // namespace grotmere
