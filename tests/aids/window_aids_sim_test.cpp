// What a player sees of the window's aids, as grotmere-sim pictures them on the shipped game: text
// lines that do not touch, the help, the history and the side panel, and --classic without them.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/canvas.hpp"
#include "tests/support/simulator_run.hpp"

namespace grotmere {
namespace {

using WindowAidsSim = testing::SimulatorRun;

constexpr Rgb kOverlayBackground{12, 12, 28};
constexpr int32_t kPanelLeft = 410;
constexpr int32_t kPanelBottom = 245;

bool lit_in(const Framebuffer& frame, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    for (int32_t y = y0; y < y1; ++y) {
        for (int32_t x = x0; x < x1; ++x) {
            if (frame.pixel(x, y) != Rgb{}) return true;
        }
    }
    return false;
}

bool same_outside_panel(const Framebuffer& a, const Framebuffer& b) {
    for (int32_t y = 0; y < a.height(); ++y) {
        for (int32_t x = 0; x < a.width(); ++x) {
            const bool in_panel = x >= kPanelLeft && y <= kPanelBottom;
            if (!in_panel && a.pixel(x, y) != b.pixel(x, y)) return false;
        }
    }
    return true;
}

TEST_F(WindowAidsSim, TextLinesBelowTheMapDoNotTouch) {
    ASSERT_EQ(run_keys("i\ne\n\n").status, 0) << "inventory and worn items shown";
    const Framebuffer shot = screenshot();
    ASSERT_EQ(shot.width(), 820);
    // Status, worn items, inventory and log all stand on lines 10 pixels apart from y = 260; the
    // first two rows of every line stay empty, so no glyph touches the line above.
    bool text_seen = false;
    for (int32_t line_top = 260; line_top < 470; line_top += 10) {
        EXPECT_FALSE(lit_in(shot, 0, line_top, 820, line_top + 2)) << "line at " << line_top;
        text_seen |= lit_in(shot, 0, line_top + 2, 820, line_top + 10);
    }
    EXPECT_TRUE(text_seen);
    // The log's seventh line, at y = 460, now ends inside the window.
    EXPECT_FALSE(lit_in(shot, 0, 470, 820, 480));
}

TEST_F(WindowAidsSim, HelpCoversTheWindowAndTheGameStandsStill) {
    ASSERT_EQ(run_keys("\n").status, 0);
    const Framebuffer before = screenshot();

    ASSERT_EQ(run_keys("f1\n").status, 0);
    const Framebuffer help = screenshot();
    EXPECT_EQ(help.pixel(0, 0), kOverlayBackground);
    EXPECT_EQ(help.pixel(819, 469), kOverlayBackground);
    EXPECT_TRUE(lit_in(help, 12, 10, 400, 18)) << "its title";

    // Walking, waiting and missiles all wait for the help to close.
    ASSERT_EQ(run_keys("f1\nright\nw\ndown\npass 5\n").status, 0);
    EXPECT_EQ(screenshot(), help);
    EXPECT_EQ(dump()["turns"], 0);
    EXPECT_EQ(dump()["passes"], 9);

    // Escape closes it without ending the game, and the world is as it was.
    ASSERT_EQ(run_keys("f1\nright\nescape\n").status, 0);
    EXPECT_EQ(dump()["ended"], "script");
    EXPECT_EQ(screenshot(), before);
    ASSERT_EQ(run_keys("f1\nf1\nescape\n").status, 0);
    EXPECT_EQ(dump()["ended"], "escape") << "closed with F1, Escape quits again";
}

TEST_F(WindowAidsSim, HistoryOpensOnF2AndSwitchesWithF1) {
    ASSERT_EQ(run_keys("f1\n").status, 0);
    const Framebuffer help = screenshot();
    ASSERT_EQ(run_keys("f2\nup\npageup\nhome\n").status, 0);
    const Framebuffer history = screenshot();
    EXPECT_EQ(history.pixel(0, 0), kOverlayBackground);
    EXPECT_NE(history, help);
    ASSERT_EQ(run_keys("f2\nf1\n").status, 0);
    EXPECT_EQ(screenshot(), help);
    ASSERT_EQ(run_keys("f2\nf2\nw\n").status, 0);
    EXPECT_EQ(dump()["turns"], 1) << "closed, the game goes on";
}

TEST_F(WindowAidsSim, SidePanelFillsOnlyTheEmptyAreaAndClassicLeavesItOut) {
    ASSERT_EQ(run_keys("right\nright\n").status, 0);
    const Framebuffer with_panel = screenshot();
    const auto state = dump();
    ASSERT_EQ(run_keys("right\nright\n", "--classic").status, 0);
    const Framebuffer classic = screenshot();
    EXPECT_EQ(dump(), state) << "the rules run alike";

    EXPECT_TRUE(lit_in(with_panel, kPanelLeft, 0, 820, kPanelBottom + 1));
    EXPECT_FALSE(lit_in(classic, kPanelLeft + 1, 0, 820, kPanelBottom + 1));
    EXPECT_TRUE(same_outside_panel(with_panel, classic))
        << "nothing the game draws moves or changes colour";

    // Under --classic F1, F2 and the aids' keys are keys like any other unbound key.
    ASSERT_EQ(
        run_keys("right\nright\nf1\nf2\nz\no\nm\nx\n+lctrl left -lctrl\n", "--classic").status, 0);
    EXPECT_EQ(dump()["turns"], 3);
    EXPECT_FALSE(lit_in(screenshot(), kPanelLeft + 1, 0, 820, kPanelBottom + 1));
}

int32_t count_of(const Framebuffer& frame, Rgb colour, int32_t x0, int32_t y0, int32_t x1,
                 int32_t y1) {
    int32_t count = 0;
    for (int32_t y = y0; y < y1; ++y) {
        for (int32_t x = x0; x < x1; ++x)
            count += frame.pixel(x, y) == colour;
    }
    return count;
}

// The aids' own keys never reach the recording, only the bound keys they hand over: played back
// without them, the recording ends in the same state.
TEST_F(WindowAidsSim, AGamePlayedWithTheAidsPlaysBackFromItsRecording) {
    const std::string recording = (dir_ / "aided.keys").string();
    ASSERT_EQ(run_keys("1\n6\n5\no\npass 40\nx\nleft\nleft\nt\npass 5\nm\nz\nescape\n",
                       "--record " + recording)
                  .status,
              0);
    const auto played = dump();
    EXPECT_GT(played["turns"], 8);
    std::ifstream in(recording);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    for (const char* own : {"\no\n", "\nx\n", "\nt\n", "\nm\n", "\nz\n"})
        EXPECT_EQ(text.find(own), std::string::npos) << own;
    ASSERT_EQ(run("--keys " + recording + " " + out_args()).status, 0);
    EXPECT_EQ(dump(), played);
}

TEST_F(WindowAidsSim, LookCursorFramesTheCellAndTheOverviewShowsTheMapWhileTheTurnWaits) {
    constexpr Rgb kCursor{255, 255, 0};
    ASSERT_EQ(run_keys("\n").status, 0);
    const int32_t before = count_of(screenshot(), kCursor, 0, 0, 405, 248);
    ASSERT_EQ(run_keys("x\nleft\nleft\n").status, 0);
    EXPECT_GE(count_of(screenshot(), kCursor, 0, 0, 405, 248), before + 40) << "a frame of 12 x 12";

    ASSERT_EQ(run_keys("m\nright\nright\n").status, 0);
    const Framebuffer overview = screenshot();
    EXPECT_EQ(overview.pixel(0, 0), kOverlayBackground);
    EXPECT_GT(count_of(overview, Rgb{0, 255, 0}, 0, 0, 820, 440), 16) << "the player";
    EXPECT_GT(count_of(overview, Rgb{110, 110, 110}, 0, 0, 680, 440), 400) << "the hall";
    EXPECT_EQ(dump()["turns"], 0);
    ASSERT_EQ(run_keys("m\nright\nescape\nright\n").status, 0);
    EXPECT_EQ(dump()["turns"], 1);
    EXPECT_EQ(dump()["ended"], "script") << "Escape closed the overview";
}

}  // namespace
}  // namespace grotmere
