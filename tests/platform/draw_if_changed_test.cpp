#include <gtest/gtest.h>

#include "platform/canvas.hpp"
#include "platform/drawing.hpp"

namespace grotmere {
namespace {

int32_t square_at = 10;

// Draws in the colour it finds, then leaves another one set.
void picture() {
    draw_rect(square_at, 10, 4, 4);
    draw_text("Hi", 50, 50);
    set_color(7, 8, 9);
}

TEST(DrawIfChanged, TheSameCallsOnAnUntouchedPictureDrawNothing) {
    framebuffer().fill(Rgb{0, 0, 0});
    set_color(200, 0, 0);
    square_at = 10;
    EXPECT_TRUE(draw_if_changed(picture));
    EXPECT_EQ(framebuffer().pixel(11, 11), (Rgb{200, 0, 0}));
    const uint64_t drawn = framebuffer().version();

    set_color(200, 0, 0);
    EXPECT_FALSE(draw_if_changed(picture));
    EXPECT_EQ(framebuffer().version(), drawn);
    draw_rect(0, 0, 1, 1);
    EXPECT_EQ(framebuffer().pixel(0, 0), (Rgb{7, 8, 9})) << "the colour drawing would leave";

    set_color(200, 0, 0);
    EXPECT_TRUE(draw_if_changed(picture)) << "a pixel was drawn since";

    set_color(0, 0, 200);
    EXPECT_TRUE(draw_if_changed(picture)) << "another starting colour";
    EXPECT_EQ(framebuffer().pixel(11, 11), (Rgb{0, 0, 200}));

    set_color(0, 0, 200);
    square_at = 20;
    EXPECT_TRUE(draw_if_changed(picture));
    EXPECT_EQ(framebuffer().pixel(21, 11), (Rgb{0, 0, 200}));
}

}  // namespace
}  // namespace grotmere
