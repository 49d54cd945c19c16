#include <gtest/gtest.h>

#include <set>
#include <string>

#include "base/text.hpp"
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
