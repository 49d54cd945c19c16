#include <gtest/gtest.h>

#include "platform/canvas.hpp"
#include "platform/drawing.hpp"
#include "tests/support/headless_game.hpp"
#include "view/message_view.hpp"
#include "world/message_log.hpp"
#include "world/world_state.hpp"

namespace grotmere {
namespace {

using MessageLog = testing::HeadlessGame;

TEST_F(MessageLog, NewestFirstAndTheTenthPushesOutTheFirst) {
    for (int i = 1; i <= 10; ++i)
        log_message("line " + std::to_string(i));
    EXPECT_EQ(message_lines[0], "line 10");
    EXPECT_EQ(message_lines[8], "line 2");
    log_message("line 10");
    EXPECT_EQ(message_lines[0], "line 10");
    EXPECT_EQ(message_lines[1], "line 10") << "the same text twice is two lines";
}

TEST_F(MessageLog, LinesFadeWithAgeAndLeaveTheColourWhite) {
    for (int i = 0; i < 9; ++i)
        message_lines[i] = "W";
    set_color(1, 2, 3);
    draw_messages(0, 100);
    const Framebuffer& frame = framebuffer();
    for (int32_t i = 0; i < 9; ++i) {
        // Cells are 16 rows high and 10 apart: rows 6 to 9 of a cell belong to its line alone.
        uint8_t grey = 0;
        for (int32_t y = 106 + 10 * i; y < 110 + 10 * i; ++y) {
            for (int32_t x = 0; x < 8; ++x)
                grey = std::max(grey, frame.pixel(x, y).r);
        }
        EXPECT_EQ(grey, 255 - 30 * i) << "line " << i;
    }
    set_color(9, 9, 9);
    draw_messages(0, 0);
    draw_rect(700, 0, 1, 1);
    EXPECT_EQ(frame.pixel(700, 0), (Rgb{255, 255, 255}));
}

TEST_F(MessageLog, LongLinesAreCutByTheWindowNotWrapped) {
    log_message(std::string(200, 'M'));
    draw_messages(0, 400);
    const Framebuffer& frame = framebuffer();
    bool glyph_below = false;
    for (int32_t y = 416; y < 430; ++y) {
        for (int32_t x = 0; x < 820; ++x)
            glyph_below |= frame.pixel(x, y) == Rgb{255, 255, 255};
    }
    EXPECT_FALSE(glyph_below);
    EXPECT_EQ(message_lines[0].size(), 200u);
}

TEST_F(MessageLog, TheHistoryKeepsEveryLineAndMergesRepeatsOnly) {
    for (int i = 1; i <= 12; ++i)
        log_message("line " + std::to_string(i));
    log_message("You move.");
    log_message("You move.");
    log_message("You move.");
    log_message("line 1");
    log_message("You move.");
    EXPECT_EQ(message_lines[0], "You move.");
    EXPECT_EQ(message_lines[2], "You move.") << "the log itself still keeps every repeat";
    ASSERT_EQ(message_history.size(), 15u);
    EXPECT_EQ(message_history.line(0), "line 1") << "lines the log lost are still there";
    EXPECT_EQ(message_history.line(12), "You move. (x3)");
    EXPECT_EQ(message_history.line(13), "line 1");
    EXPECT_EQ(message_history.line(14), "You move.");
}

TEST(MessageHistory, DropsTheOldestPastItsCap) {
    MessageHistory history;
    for (size_t i = 0; i < MessageHistory::kCap + 2; ++i)
        history.add(std::to_string(i));
    ASSERT_EQ(history.size(), MessageHistory::kCap);
    EXPECT_EQ(history.line(0), "2");
    EXPECT_EQ(history.line(MessageHistory::kCap - 1), std::to_string(MessageHistory::kCap + 1));
}

}  // namespace
}  // namespace grotmere
