// grotmere-sim as outside checks use it: the real binary, its command line, key script, exit
// status, standard output, dump and screenshot.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "platform/canvas.hpp"
#include "platform/png_writer.hpp"
#include "tests/support/simulator_run.hpp"

namespace grotmere {
namespace {

namespace fs = std::filesystem;
using Simulator = testing::SimulatorRun;
using testing::SimRun;

TEST_F(Simulator, RunsTheScriptAndWritesDumpAndScreenshot) {
    fs::path keys = write("keys", "a\n\n# not a pass\npass 3\nb\n");
    SimRun result = run("--keys " + keys.string() + " " + out_args());
    EXPECT_EQ(result.status, 0);
    nlohmann::json state = dump();
    EXPECT_EQ(state["passes"], 6);
    EXPECT_EQ(state["turns"], 0);
    EXPECT_EQ(state["ended"], "script");
    EXPECT_TRUE(state["notices"].is_array());
    EXPECT_EQ(state["message_lines"].size(), 9u);
    EXPECT_TRUE(state.contains("map_width"));
    EXPECT_TRUE(state.contains("map_height"));
    EXPECT_TRUE(state.contains("current_map"));

    Framebuffer shot(820, 470);
    std::string error;
    EXPECT_TRUE(read_png((dir_ / "s.png").string(), shot, &error)) << error;
}

TEST_F(Simulator, EndsOnEscapeOrCloseAndCountsOnlyThePassesRun) {
    fs::path escape = write("escape", "\nescape\n\n\n");
    EXPECT_EQ(run("--keys " + escape.string() + " " + out_args()).status, 0);
    EXPECT_EQ(dump()["ended"], "escape");
    EXPECT_EQ(dump()["passes"], 2);

    fs::path close = write("close", "close\n\n");
    EXPECT_EQ(run("--keys " + close.string() + " " + out_args()).status, 0);
    EXPECT_EQ(dump()["ended"], "close");
    EXPECT_EQ(dump()["passes"], 1);
}

TEST_F(Simulator, PassesOverridesTheScriptLength) {
    fs::path keys = write("keys", "a\n");
    EXPECT_EQ(run("--keys " + keys.string() + " --passes 5 " + out_args()).status, 0);
    EXPECT_EQ(dump()["passes"], 5);
    EXPECT_EQ(run("--passes 0 " + out_args()).status, 0);
    EXPECT_EQ(dump()["passes"], 0);
}

TEST_F(Simulator, UsageErrorsExitWithTwo) {
    fs::path bad = write("bad", "a\nnot-a-key\n");
    EXPECT_EQ(run("--keys " + bad.string()).status, 2);
    EXPECT_EQ(run("--frobnicate 1").status, 2);
    EXPECT_EQ(run("--seed").status, 2);
    EXPECT_EQ(run("--seed x1").status, 2);
    EXPECT_EQ(run("--passes -3").status, 2);
    EXPECT_EQ(run("--keys " + (dir_ / "missing").string()).status, 2);
}

TEST_F(Simulator, ScriptFromStandardInput) {
    fs::path keys = write("keys", "\n\nescape\n");
    SimRun result = run("--keys - " + out_args() + " < " + keys.string());
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(dump()["ended"], "escape");
    EXPECT_EQ(dump()["passes"], 3);
}

}  // namespace
}  // namespace grotmere
