// What a player sees of the window's aids, as grotmere-sim pictures them on the shipped game: text
// lines that do not touch, the help, the history and the side panel, and --classic without them;
// Escape's question and its answers (and a game ended so plays back to the same end), the death's
// notice in the picture, the first screen until the first move, the chooser of the heaps around.
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
constexpr Rgb kHeading{255, 255, 160};

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
    ASSERT_EQ(run_keys("f1\nf1\nescape\ny\n").status, 0);
    EXPECT_EQ(dump()["ended"], "escape") << "closed with F1, Escape and Y quit again";
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
    ASSERT_EQ(run_keys("1\n6\n5\no\npass 40\nx\nleft\nleft\nt\npass 5\nm\nz\nescape\ny\n",
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

// A box stands in the middle of the picture.
bool box_shown(const Framebuffer& frame) {
    return count_of(frame, kOverlayBackground, 300, 200, 520, 270) > 5000;
}

TEST_F(WindowAidsSim, EscapeAsksAndOnlyYEndsTheGameWhichPlaysBackToTheSameEnd) {
    ASSERT_EQ(run_keys("1\nescape\n").status, 0);
    EXPECT_TRUE(box_shown(screenshot()));
    EXPECT_EQ(dump()["ended"], "script");
    ASSERT_EQ(run_keys("1\nescape\nw\nw\n").status, 0);
    EXPECT_FALSE(box_shown(screenshot()));
    EXPECT_EQ(dump()["turns"], 2) << "the answer W plays on and does nothing else";

    const std::string recording = (dir_ / "ended.keys").string();
    ASSERT_EQ(run_keys("1\nescape\ny\n", "--record " + recording).status, 0);
    const auto played = dump();
    EXPECT_EQ(played["ended"], "escape");
    EXPECT_EQ(read(recording).find("\ny\n"), std::string::npos) << "only the Escape is kept";
    ASSERT_EQ(run("--keys " + recording + " " + out_args()).status, 0);
    EXPECT_EQ(dump(), played);
}

TEST_F(WindowAidsSim, TheDeathIsToldInThePictureAndWithClassicInTheSystemBox) {
    std::string keys = "seed 7\n";
    for (int32_t i = 0; i < 23; ++i)
        keys += "right\n";
    keys += "up\n";
    for (int32_t i = 0; i < 12; ++i)
        keys += "right\n";
    for (int32_t i = 0; i < 300; ++i)
        keys += "w\n";
    for (const char* classic : {"", "--classic"}) {
        ASSERT_EQ(run_keys(keys, classic).status, 0);
        EXPECT_EQ(dump()["ended"], "death");
        EXPECT_EQ(dump()["notices"], nlohmann::json::array({"GAME OVER!"}));
        EXPECT_EQ(box_shown(screenshot()), *classic == '\0') << classic;
    }
}

TEST_F(WindowAidsSim, TheFirstScreenNamesTheGoalAndTheFirstKeysUntilTheFirstMove) {
    ASSERT_EQ(run_keys("\n").status, 0);
    EXPECT_GT(count_of(screenshot(), kHeading, 410, 150, 820, 230), 40) << "YOUR GOAL, FIRST KEYS";
    ASSERT_EQ(run_keys("\nw\n").status, 0);
    EXPECT_EQ(count_of(screenshot(), kHeading, 410, 150, 820, 230), 0);
    ASSERT_EQ(run_keys("\n", "--classic").status, 0);
    EXPECT_EQ(count_of(screenshot(), kHeading, 410, 0, 820, 245), 0);
}

// Arrows and potions dropped whole make a heap of two stacks: P names them, B takes the potions
// and puts the arrows down again.
TEST_F(WindowAidsSim, TheChooserNamesTheStacksOfTheHeapAndTakesTheOneAskedFor) {
    const std::string heap = "1\n6\n5\nd\n3\npass 30\nd\n4\npass 5\np\n";
    ASSERT_EQ(run_keys(heap).status, 0);
    EXPECT_TRUE(box_shown(screenshot()));
    EXPECT_TRUE(dump()["player"]["inventory"][3].is_null());
    ASSERT_EQ(run_keys(heap + "b\npass 40\n").status, 0);
    EXPECT_FALSE(box_shown(screenshot()));
    const auto state = dump();
    int32_t potions = 0, arrows = 0;
    for (const auto& slot : state["player"]["inventory"]) {
        if (slot.is_null()) continue;
        if (slot["name"] == "Arrow") arrows += slot["anzahl"].get<int32_t>();
        if (slot["name"] == "Healing Potion") potions += slot["anzahl"].get<int32_t>();
    }
    EXPECT_EQ(potions, 2);
    EXPECT_EQ(arrows, 0) << "the arrows went down again";
    ASSERT_EQ(state["treasures"].size(), 1);
    EXPECT_EQ(state["treasures"][0]["drop"][0]["anzahl"], 24);
}

}  // namespace
}  // namespace grotmere
