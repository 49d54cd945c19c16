#include <gtest/gtest.h>

#include "tests/support/headless_game.hpp"
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
