#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "platform/canvas.hpp"
#include "platform/drawing.hpp"

namespace grotmere {
namespace {

int32_t square_at = 10;
int32_t pictures_looked_at = 0;

// Draws in the colour it finds, then leaves another one set.
void picture() {
    ++pictures_looked_at;
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

// A promise that the world is unchanged saves even writing the calls down, as long as the picture
// and the colour are those the last frame was drawn with and left.
TEST(DrawIfChanged, AnUnchangedWorldIsNotEvenLookedAt) {
    framebuffer().fill(Rgb{0, 0, 0});
    set_color(200, 0, 0);
    square_at = 10;
    EXPECT_TRUE(draw_if_changed(picture, FrameWorld::Unchanged)) << "nothing was shown yet";

    set_color(200, 0, 0);
    pictures_looked_at = 0;
    EXPECT_FALSE(draw_if_changed(picture, FrameWorld::Unchanged));
    EXPECT_EQ(pictures_looked_at, 0);
    draw_rect(0, 0, 1, 1);
    EXPECT_EQ(framebuffer().pixel(0, 0), (Rgb{7, 8, 9})) << "the colour drawing would leave";

    set_color(200, 0, 0);
    EXPECT_TRUE(draw_if_changed(picture, FrameWorld::Unchanged)) << "a pixel was drawn since";
    set_color(0, 0, 200);
    EXPECT_TRUE(draw_if_changed(picture, FrameWorld::Unchanged)) << "another starting colour";
    EXPECT_EQ(framebuffer().pixel(11, 11), (Rgb{0, 0, 200}));

    // A frame found unchanged by its calls is as good as a drawn one for the next promise.
    set_color(0, 0, 200);
    EXPECT_FALSE(draw_if_changed(picture));
    set_color(0, 0, 200);
    pictures_looked_at = 0;
    EXPECT_FALSE(draw_if_changed(picture, FrameWorld::Unchanged));
    EXPECT_EQ(pictures_looked_at, 0);
}

// Every kind of call, some reaching past the edges, with a text of odd characters.
void every_call() {
    clear_window();
    set_color(300, -1, 40);
    draw_rect(-5, 460, 30, 30);
    draw_line(-100, 3, 900, 200);
    set_color(9, 250, 9);
    draw_text(std::string("A\x01\xff z") + '\0' + "~", 815, 462);
    draw_rect(100, 100, 7, 5);
    draw_text("", 0, 0);
}

// A changed frame is drawn from its written-down calls: the pixels and the colour it leaves are
// those of the drawing run itself.
TEST(DrawIfChanged, DrawsWhatTheDrawingItselfDraws) {
    framebuffer().fill(Rgb{1, 2, 3});
    set_color(5, 6, 7);
    every_call();
    const Framebuffer drawn = framebuffer();
    draw_rect(0, 0, 1, 1);
    const Rgb left = framebuffer().pixel(0, 0);

    framebuffer().fill(Rgb{1, 2, 3});
    set_color(5, 6, 7);
    EXPECT_TRUE(draw_if_changed(every_call));
    EXPECT_TRUE(framebuffer() == drawn);
    draw_rect(0, 0, 1, 1);
    EXPECT_EQ(framebuffer().pixel(0, 0), left);
}

TEST(DrawIfChanged, CheckingCatchesABrokenPromise) {
    check_unchanged_frames(true);
    framebuffer().fill(Rgb{0, 0, 0});
    set_color(200, 0, 0);
    square_at = 10;
    EXPECT_TRUE(draw_if_changed(picture));
    set_color(200, 0, 0);
    EXPECT_FALSE(draw_if_changed(picture, FrameWorld::Unchanged)) << "a promise kept";
    set_color(200, 0, 0);
    square_at = 30;
    EXPECT_THROW(draw_if_changed(picture, FrameWorld::Unchanged), std::logic_error);
    check_unchanged_frames(false);
    set_color(200, 0, 0);
    EXPECT_FALSE(draw_if_changed(picture, FrameWorld::Unchanged)) << "unchecked, it is believed";
    EXPECT_EQ(framebuffer().pixel(31, 11), (Rgb{0, 0, 0}));
}

}  // namespace
}  // namespace grotmere
