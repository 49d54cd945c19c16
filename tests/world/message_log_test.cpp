#include <gtest/gtest.h>

#include <set>
#include <string>

#include "base/text.hpp"
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

TEST_F(MessageLog, PiecesMakeOneLineAndALineMayBeLoggedFromTheLogItself) {
    log_message({"Orc", " was hit for ", Decimal(-7), " points."});
    EXPECT_EQ(message_lines[0], "Orc was hit for -7 points.");
    for (int i = 1; i <= 8; ++i)
        log_message("a line long enough to live on the heap, number " + std::to_string(i));
    // The oldest line is the one written over: logging it again must still give its text.
    const std::string oldest = message_lines[8];
    log_message(message_lines[8]);
    EXPECT_EQ(message_lines[0], oldest);
    const std::string joined = message_lines[8] + " and " + message_lines[0];
    log_message({message_lines[8], " and ", message_lines[0]});
    EXPECT_EQ(message_lines[0], joined) << "pieces read from lines that move";
}

TEST_F(MessageLog, LinesKeepTheirStorageOnceGrown) {
    for (int i = 0; i < 9; ++i)
        log_message(std::string(60, static_cast<char>('a' + i)));
    std::set<const char*> storage;
    for (const std::string& line : message_lines)
        storage.insert(line.data());
    for (int i = 0; i < 30; ++i)
        log_message({"You were hit for ", Decimal(i), " points."});
    for (const std::string& line : message_lines)
        EXPECT_TRUE(storage.count(line.data())) << line;
    EXPECT_EQ(message_lines[0], "You were hit for 29 points.");
    EXPECT_EQ(message_lines[8], "You were hit for 21 points.");
}

}  // namespace
}  // namespace grotmere
