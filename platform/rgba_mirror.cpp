#include "platform/rgba_mirror.hpp"

#include <bit>
#include <cstring>

namespace grotmere {

namespace {

// The words are written in the machine's byte order; the canvas wants r first.
static_assert(std::endian::native == std::endian::little);

constexpr uint32_t kOpaque = 0xff000000u;

uint32_t load_word(const uint8_t* at) {
    uint32_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

// Eight bytes at a time: a plain byte loop (as WebAssembly's memcmp is) takes several times as
// long over the 2,460 bytes of a row.
bool same_bytes(const uint8_t* a, const uint8_t* b, size_t count) {
    size_t at = 0;
    for (; at + 8 <= count; at += 8) {
        uint64_t x, y;
        std::memcpy(&x, a + at, 8);
        std::memcpy(&y, b + at, 8);
        if (x != y) return false;
    }
    for (; at < count; ++at) {
        if (a[at] != b[at]) return false;
    }
    return true;
}

// Four pixels (twelve bytes) from three word loads.
void convert_row(const uint8_t* rgb, uint32_t* rgba, int32_t width) {
    int32_t x = 0;
    for (; x + 4 <= width; x += 4, rgb += 12) {
        const uint32_t a = load_word(rgb);
        const uint32_t b = load_word(rgb + 4);
        const uint32_t c = load_word(rgb + 8);
        rgba[x] = kOpaque | a;
        rgba[x + 1] = kOpaque | (a >> 24) | (b << 8);
        rgba[x + 2] = kOpaque | (b >> 16) | (c << 16);
        rgba[x + 3] = kOpaque | (c >> 8);
    }
    for (; x < width; ++x, rgb += 3)
        rgba[x] = kOpaque | rgb[0] | (uint32_t{rgb[1]} << 8) | (uint32_t{rgb[2]} << 16);
}

}  // namespace

std::optional<RowBand> RgbaMirror::take(const Framebuffer& frame) {
    const std::vector<uint8_t>& bytes = frame.bytes();
    const bool resized = frame.width() != width_ || frame.height() != height_;
    if (resized) {
        width_ = frame.width();
        height_ = frame.height();
        rgb_.assign(bytes.size(), 0);
        rgba_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0);
    }
    const size_t row_bytes = static_cast<size_t>(width_) * 3;
    std::optional<RowBand> changed;
    for (int32_t y = 0; y < height_; ++y) {
        const size_t at = static_cast<size_t>(y) * row_bytes;
        if (!resized && same_bytes(bytes.data() + at, rgb_.data() + at, row_bytes)) continue;
        std::memcpy(rgb_.data() + at, bytes.data() + at, row_bytes);
        convert_row(bytes.data() + at, rgba_.data() + static_cast<size_t>(y) * width_, width_);
        if (!changed) changed = RowBand{y, y + 1};
        changed->last = y + 1;
    }
    return changed;
}

}  // namespace grotmere
