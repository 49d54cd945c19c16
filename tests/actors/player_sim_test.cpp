// The player in grotmere-sim: the shipped data with another player file, run as a whole game.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include <sys/wait.h>

#include <nlohmann/json.hpp>

#include "tests/records/definition_test_support.hpp"

namespace grotmere::testing {
namespace {

namespace fs = std::filesystem;

class PlayerSim : public ::testing::Test {
protected:
    // The shipped data files with `player` as bifs/player.bif.
    void use_player(const std::string& player) {
        fs::copy(fs::path(GROTMERE_SOURCE_DIR) / "bifs", scratch_.root() / "bifs",
                 fs::copy_options::recursive);
        scratch_.write("bifs/player.bif", player);
    }

    // Runs the simulator for that many passes; the exit status, and the dump in `state`.
    int run(int32_t passes) {
        std::string command = std::string(GROTMERE_SIM) + " --dir " + scratch_.root().string() +
                              " --check-contracts --passes " + std::to_string(passes) + " --dump " +
                              scratch_.path("d.json") + " >/dev/null 2>&1";
        int raw = std::system(command.c_str());
        std::ifstream in(scratch_.path("d.json"));
        state = nlohmann::json::parse(in, nullptr, false);
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }

    ScratchDir scratch_;
    nlohmann::json state;
};

TEST_F(PlayerSim, DeathEndsTheRunAfterTheNoticeWithStatusZero) {
    use_player("TPlayer { name = \"Doomed\" hp = 0 hpmax = 10 level = 1 x = 5 y = 5 }\n");
    EXPECT_EQ(run(5), 0);
    EXPECT_EQ(state["ended"], "death");
    EXPECT_EQ(state["passes"], 1);
    EXPECT_EQ(state["notices"], nlohmann::json::array({"GAME OVER!"}));
}

TEST_F(PlayerSim, TheDumpShowsThePlayersBuffs) {
    use_player("TPlayer { name = \"Strong\" hp = 10 hpmax = 10 attack = 120 level = 1 }\n");
    EXPECT_EQ(run(2), 0);
    const nlohmann::json& buffs = state["player"]["buffs"];
    ASSERT_EQ(buffs.size(), 1u);
    EXPECT_EQ(buffs[0]["variable"], "attack");
    EXPECT_EQ(buffs[0]["wert"], -22);
    EXPECT_EQ(buffs[0]["silent"], 1);
    EXPECT_EQ(buffs[0]["ziel"], "TPlayer");
}

}  // namespace
}  // namespace grotmere::testing
