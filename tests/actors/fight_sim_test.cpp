// A fight played in grotmere-sim from a seed: the shipped monsters and items, a corridor map with
// a rat beside the player, and the player walking into it until it dies.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <sys/wait.h>

#include <nlohmann/json.hpp>

#include "tests/records/definition_test_support.hpp"

namespace grotmere::testing {
namespace {

namespace fs = std::filesystem;

class FightSim : public ::testing::Test {
protected:
    void SetUp() override {
        fs::copy(fs::path(GROTMERE_SOURCE_DIR) / "bifs", scratch_.root() / "bifs",
                 fs::copy_options::recursive);
        scratch_.write("bifs/karte2.map",
                       "9\n3\n111111111\n100000001\n111111111\n"
                       "TGegner { name = \"Rat\"  x = 3  y = 1 }\n");
        // One rat (8 experience) short of level 2 (100); sure to hit unless the rat parries.
        scratch_.write("bifs/player.bif",
                       "TPlayer { name = \"Aldric\" hp = 30 hpmax = 30 attack = 100 dmg = 3 "
                       "level = 1 xp = 92 x = 2 y = 1 }\n");
        scratch_.write("keys", "right\nright\nright\nright\nright\nright\n");
    }

    nlohmann::json run(int32_t seed) {
        const std::string dump = scratch_.path("d.json");
        const std::string command = std::string(GROTMERE_SIM) + " --dir " +
                                    scratch_.root().string() + " --check-contracts --seed " +
                                    std::to_string(seed) + " --keys " + scratch_.path("keys") +
                                    " --dump " + dump + " >/dev/null 2>&1";
        const int raw = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0);
        std::ifstream in(dump);
        return nlohmann::json::parse(in, nullptr, false);
    }

    ScratchDir scratch_;
};

TEST_F(FightSim, TheRatDiesPaysOutAndTheSameSeedReplaysTheSameFight) {
    const nlohmann::json first = run(4);
    ASSERT_FALSE(first.is_discarded());
    EXPECT_TRUE(first["monsters"].empty());
    EXPECT_EQ(first["player"]["xp"], 100);
    EXPECT_EQ(first["player"]["level"], 2) << "the upkeep raises the level in the same pass";
    EXPECT_TRUE(first["missiles"].is_array());
    const nlohmann::json& log = first["message_lines"];
    EXPECT_NE(std::find(log.begin(), log.end(), "Rat is dead!"), log.end()) << log;
    EXPECT_NE(std::find(log.begin(), log.end(), "YOU'VE MADE A NEW LEVEL!"), log.end()) << log;

    EXPECT_EQ(run(4), first);
}

}  // namespace
}  // namespace grotmere::testing
