// Items in grotmere-sim on the shipped data: a key script drops and picks up, and the dump shows
// the heaps on the floor.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include <nlohmann/json.hpp>

#include "tests/records/definition_test_support.hpp"

namespace grotmere::testing {
namespace {

nlohmann::json run_sim(const ScratchDir& scratch, const std::string& keys) {
    scratch.write("keys.txt", keys);
    const std::string command = std::string(GROTMERE_SIM) + " --dir " + GROTMERE_SOURCE_DIR +
                                " --check-contracts --keys " + scratch.path("keys.txt") +
                                " --dump " + scratch.path("dump.json") + " >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
    std::ifstream in(scratch.path("dump.json"));
    return nlohmann::json::parse(in, nullptr, false);
}

TEST(ItemsSim, DroppedItemsLieInAHeapUntilTheGetKeyTakesThemBack) {
    ScratchDir scratch;
    // Slot 3 holds the arrows: two dropped with Shift held, then picked up again.
    nlohmann::json state = run_sim(scratch, "+lshift 3\n3\n-lshift\n");
    ASSERT_EQ(state["treasures"].size(), 1u);
    const nlohmann::json& heap = state["treasures"][0];
    EXPECT_EQ(heap["x"], state["player"]["x"]);
    EXPECT_EQ(heap["drop"][0]["name"], "Arrow");
    EXPECT_EQ(heap["drop"][0]["anzahl"], 2);
    EXPECT_EQ(state["turns"], 0) << "dropping takes no turn";

    state = run_sim(scratch, "+lshift 3\n3\n-lshift g\n");
    EXPECT_TRUE(state["treasures"].empty());
    EXPECT_EQ(state["message_lines"][0], "You pick up 2 Arrows.");
    EXPECT_EQ(state["turns"], 1);
}

}  // namespace
}  // namespace grotmere::testing
