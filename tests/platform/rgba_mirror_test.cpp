#include "platform/rgba_mirror.hpp"

#include <gtest/gtest.h>

namespace grotmere {
namespace {

void expect_mirrors(const RgbaMirror& mirror, const Framebuffer& frame) {
    for (int32_t y = 0; y < frame.height(); ++y) {
        for (int32_t x = 0; x < frame.width(); ++x) {
            const uint8_t* at = mirror.rgba() + (y * frame.width() + x) * 4;
            const Rgb pixel = frame.pixel(x, y);
            ASSERT_EQ((Rgb{at[0], at[1], at[2]}), pixel) << x << "," << y;
            ASSERT_EQ(at[3], 255) << x << "," << y;
        }
    }
}

// The page puts only the band the mirror names on the canvas: a band too narrow leaves stale
// pixels there, and bytes in the wrong order show the wrong colours. A width of 7 leaves a tail
// after the four-pixel steps.
TEST(RgbaMirror, NamesTheChangedRowsAndKeepsTheCanvasByteOrder) {
    Framebuffer frame(7, 12);
    for (int32_t x = 0; x < 7; ++x)
        frame.put(x, x, Rgb{static_cast<uint8_t>(10 * x), static_cast<uint8_t>(x + 1), 200});
    RgbaMirror mirror;
    EXPECT_EQ(mirror.take(frame), (RowBand{0, 12}));
    expect_mirrors(mirror, frame);

    EXPECT_EQ(mirror.take(frame), std::nullopt);
    frame.put(6, 4, Rgb{1, 2, 3});
    frame.put(0, 9, Rgb{4, 5, 6});
    EXPECT_EQ(mirror.take(frame), (RowBand{4, 10}));
    expect_mirrors(mirror, frame);

    // A frame of another size is new from top to bottom, even where it is black.
    EXPECT_EQ(mirror.take(Framebuffer(5, 3)), (RowBand{0, 3}));
    expect_mirrors(mirror, Framebuffer(5, 3));
}

}  // namespace
}  // namespace grotmere
