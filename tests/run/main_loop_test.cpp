#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "platform/canvas.hpp"
#include "platform/drawing.hpp"
#include "run/startup.hpp"
#include "tests/support/headless_game.hpp"
#include "world/message_log.hpp"

namespace grotmere {
namespace {

constexpr int32_t kEscape = 27;
using MainLoop = testing::HeadlessGame;

TEST_F(MainLoop, EscapeEndsThePassOnlyWhenHitExactlyOnce) {
    EXPECT_FALSE(pass().end);
    EXPECT_FALSE(pass({hit(kEscape), hit(kEscape)}).end) << "two hits in one pass do not quit";
    EXPECT_FALSE(pass().end) << "and the end-of-pass test consumed them";
    PassResult result = pass({hit(kEscape)});
    ASSERT_TRUE(result.end);
    EXPECT_EQ(*result.end, GameEnd::Escape);
}

TEST_F(MainLoop, CloseIsTestedOnlyWhenEscapeDidNotEnd) {
    PassResult first = pass({hit(kEscape), InputEvent{InputEvent::Kind::Close, 0}});
    ASSERT_TRUE(first.end);
    EXPECT_EQ(*first.end, GameEnd::Escape);
    PassResult second = pass();
    ASSERT_TRUE(second.end) << "the close request was left for the next test";
    EXPECT_EQ(*second.end, GameEnd::Close);
}

TEST_F(MainLoop, HeldEscapeDoesNotQuitTwiceAndFocusLossForgetsIt) {
    EXPECT_FALSE(pass({InputEvent{InputEvent::Kind::Focus, 0}}).end);
    EXPECT_FALSE(pass({press(kEscape), InputEvent{InputEvent::Kind::Focus, 0}}).end);
}

TEST_F(MainLoop, EveryPassDrawsAndPresentsTheLog) {
    log_message("Hello");
    pass();
    ASSERT_TRUE(backend.last_frame());
    const Framebuffer& shown = *backend.last_frame();
    bool white_glyph = false;
    for (int32_t y = 400; y < 416; ++y) {
        for (int32_t x = 0; x < 40; ++x)
            white_glyph |= shown.pixel(x, y) == Rgb{255, 255, 255};
    }
    EXPECT_TRUE(white_glyph);
    EXPECT_EQ(shown.pixel(600, 100), (Rgb{0, 0, 0})) << "the window is cleared to black";
}

// The frame cycle still runs every rule; only a picture that can have changed is drawn again.
TEST_F(MainLoop, APassThatWouldDrawTheSamePicturePresentsNothing) {
    pass();
    pass();
    EXPECT_EQ(backend.presents(), 1);
    log_message("Hello");
    pass();
    EXPECT_EQ(backend.presents(), 2) << "a new line in the log";
    pass();
    framebuffer().put(600, 100, Rgb{1, 2, 3});
    pass();
    EXPECT_EQ(backend.presents(), 3) << "something else drew on the picture";
    EXPECT_EQ(backend.last_frame()->pixel(600, 100), (Rgb{0, 0, 0}));
}

TEST(AppTitle, ComesFromTheBuildCounter) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("grotmere_title_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    fs::path counter = dir / "build.cnt";
    std::ofstream(counter) << "12\r\n05 Mar 2008\r\n";
    EXPECT_EQ(read_app_title(counter.string()), "Grotmere Alpha Build 12/05 Mar 2008");
    std::ofstream(counter, std::ios::trunc) << "twelve";
    EXPECT_EQ(read_app_title(counter.string()), "Grotmere Alpha Build 0/");
    EXPECT_EQ(read_app_title((dir / "missing").string()), "Grotmere Alpha Build 0/");
    fs::remove_all(dir);
}

}  // namespace
}  // namespace grotmere
