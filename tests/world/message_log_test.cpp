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

}  // namespace
}  // namespace grotmere
