// The framebuffer's picture kept in the byte order a browser's canvas takes (r, g, b, a = 255 a
// pixel), for the page: its ImageData views these bytes where they lie, so no pixel is copied in
// JavaScript. Rows are compared with the last picture first, and only the rows that changed are
// converted, so the page also learns which band of rows to put on the canvas.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/canvas.hpp"

namespace grotmere {

// Rows first to last - 1.
struct RowBand {
    int32_t first = 0;
    int32_t last = 0;
    friend bool operator==(const RowBand&, const RowBand&) = default;
};

class RgbaMirror {
public:
    // Takes the frame in; the rows that differ from the frame taken before, none when no pixel
    // does. A frame of another size than the last counts as wholly changed.
    std::optional<RowBand> take(const Framebuffer& frame);

    // width * height * 4 bytes, rows top first.
    const uint8_t* rgba() const { return reinterpret_cast<const uint8_t*>(rgba_.data()); }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }

private:
    int32_t width_ = -1;
    int32_t height_ = -1;
    std::vector<uint8_t> rgb_;  // the frame taken last, as the framebuffer holds it
    std::vector<uint32_t> rgba_;
};

}  // namespace grotmere
