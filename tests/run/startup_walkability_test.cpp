#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include <nlohmann/json.hpp>

#include "shell/simulator.hpp"

namespace grotmere {
namespace {

namespace fs = std::filesystem;

std::string read_file(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Regression: walkability used to be computed first after the first pass's action, so a player
// starting beside a closed door walked straight through it on the very first key.
TEST(StartupWalkability, AClosedDoorBlocksTheVeryFirstStep) {
    fs::path dir =
        fs::temp_directory_path() / ("grotmere_first_step_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::copy(fs::path(GROTMERE_SOURCE_DIR) / "bifs", dir / "bifs", fs::copy_options::recursive);
    fs::copy_file(fs::path(GROTMERE_SOURCE_DIR) / "build.cnt", dir / "build.cnt");
    // The Oak Door stands at (15, 6); start the player right beside it.
    std::string player = read_file(dir / "bifs" / "player.bif");
    size_t at = player.find("x = 9");
    ASSERT_NE(at, std::string::npos);
    player.replace(at, 5, "x = 14");
    std::ofstream(dir / "bifs" / "player.bif", std::ios::trunc) << player;
    std::ofstream(dir / "keys") << "right\n";

    SimOptions options;
    options.dir = dir.string();
    options.keys_file = (dir / "keys").string();
    options.dump_file = (dir / "dump.json").string();
    options.check_contracts = true;
    std::istringstream no_input;
    ASSERT_EQ(run_simulator(options, no_input), 0);

    nlohmann::json dump = nlohmann::json::parse(read_file(dir / "dump.json"));
    EXPECT_EQ(dump["player"]["x"], 14);
    // The carved plate under the player speaks after the door has opened.
    EXPECT_EQ(dump["message_lines"][1], "You open the Oak Door");
    fs::remove_all(dir);
}

}  // namespace
}  // namespace grotmere
