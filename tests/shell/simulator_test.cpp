// grotmere-sim as outside checks use it: the real binary, its command line, key script, exit
// status, standard output, dump and screenshot.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/canvas.hpp"
#include "platform/drawing.hpp"
#include "platform/png_writer.hpp"
#include "shell/simulator.hpp"
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
    fs::path escape = write("escape", "\nescape y\n\n\n");
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
    const SimRun help = run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: grotmere-sim", 0), 0u) << "--help prints the usage";
    fs::path bad = write("bad", "a\nnot-a-key\n");
    EXPECT_EQ(run("--keys " + bad.string()).status, 2);
    EXPECT_EQ(run("--frobnicate 1").status, 2);
    EXPECT_EQ(run("--seed").status, 2);
    EXPECT_EQ(run("--seed x1").status, 2);
    EXPECT_EQ(run("--passes -3").status, 2);
    EXPECT_EQ(run("--keys " + (dir_ / "missing").string()).status, 2);
}

// A script is bounded in size, line length and passes; whatever goes past a bound, or is no
// file at all, is a usage error naming the line or path.
TEST_F(Simulator, KeyScriptsBeyondTheirBoundsAreUsageErrors) {
    auto refused = [&](const std::string& arguments, const std::string& part) {
        SimRun result = run_for_errors(arguments);
        if (result.status == 2 && result.out.find(part) != std::string::npos)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << result.status << ": " << result.out;
    };
    EXPECT_TRUE(
        refused("--keys " + dir_.string(), "the key script " + dir_.string() + " is a folder"));
    EXPECT_TRUE(refused("--keys /dev/zero", "is larger than 67108864 bytes"));
    const fs::path wrapping = write("wrap", "pass 9223372036854775807\npass 9223372036854775807\n");
    EXPECT_TRUE(refused("--keys " + wrapping.string(),
                        "key script line 1: \"pass\" takes one "
                        "whole number of at most 1000000000"));
    const fs::path too_many = write("many", "a\npass 600000000\n\npass 400000000\n");
    EXPECT_TRUE(refused("--keys " + too_many.string(),
                        "key script line 4: the script runs past 1000000000 passes"));
    const fs::path long_line = write("long", "a\n" + std::string(5000, 'a') + "\n");
    EXPECT_TRUE(refused("--keys " + long_line.string(),
                        "key script line 2: a line may hold at most 4096 characters"));
}

// Standard output carries the game's own lines, and two outputs never share one file.
TEST_F(Simulator, OutputsGoToFilesOfTheirOwn) {
    const std::string shot = (dir_ / "s.png").string();
    EXPECT_EQ(run("--passes 1 --dump -").status, 2);
    EXPECT_EQ(run("--passes 1 --screenshot -").status, 2);
    SimRun same = run_for_errors("--passes 1 --dump " + shot + " --screenshot " + shot);
    EXPECT_EQ(same.status, 2);
    EXPECT_NE(same.out.find("--dump and --screenshot name the same file"), std::string::npos);
    EXPECT_FALSE(fs::exists(shot));
    EXPECT_FALSE(fs::exists(fs::path(GROTMERE_SOURCE_DIR) / "-"));
}

TEST_F(Simulator, ScriptFromStandardInput) {
    fs::path keys = write("keys", "\n\nescape y\n");
    SimRun result = run("--keys - " + out_args() + " < " + keys.string());
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(dump()["ended"], "escape");
    EXPECT_EQ(dump()["passes"], 3);
}

// A recording written during a run plays back, from its own seed, to the same end state: held
// keys, focus changes and a close request included.
TEST_F(Simulator, ARecordingReplaysTheRunExactly) {
    fs::path keys = write("keys",
                          "right\n+lshift\n1\n-lshift\ndown down\nfocus\npass 3\nleft g\n"
                          "+lshift g -lshift\n6\npass 2\nclose\n");
    fs::path recording = dir_ / "game.keys";
    ASSERT_EQ(run("--seed 77 --keys " + keys.string() + " --record " + recording.string() + " " +
                  out_args())
                  .status,
              0);
    const nlohmann::json played = dump();
    EXPECT_EQ(played["ended"], "close");

    std::ifstream in(recording);
    std::string first_line, second_line;
    std::getline(in, first_line);
    std::getline(in, second_line);
    EXPECT_EQ(first_line, "seed 77");
    EXPECT_EQ(second_line.rfind("# Grotmere Alpha Build ", 0), 0u) << second_line;
    EXPECT_NE(second_line.find(", data "), std::string::npos);

    ASSERT_EQ(run("--keys " + recording.string() + " " + out_args()).status, 0);
    EXPECT_EQ(dump(), played);
    EXPECT_EQ(run("--seed 78 --keys " + recording.string() + " " + out_args()).status, kDiverges)
        << "--seed overrides the recording's seed, and its checkpoint tells";
    EXPECT_NE(dump()["monsters"], played["monsters"]);
}

// The contract checks only watch: the golden replays, and a game opening the help and the
// history, play to the same dump, standard output and last picture with them and without them,
// and without a picture (no frame drawn or written down) to the same dump and standard output.
TEST_F(Simulator, ContractChecksAndPicturesChangeNoOutput) {
    std::vector<std::string> scripts = {write("aids",
                                              "right\nf1\ndown\nescape\nf2\nup\n"
                                              "escape\npass 3\nleft left\nf1\n")
                                            .string()};
    for (const auto& entry :
         fs::directory_iterator(fs::path(GROTMERE_SOURCE_DIR) / "tests/replays"))
        if (entry.path().extension() == ".keys") scripts.push_back(entry.path().string());
    for (const std::string& keys : scripts) {
        SCOPED_TRACE(keys);
        auto outputs = [&](bool checks, bool picture) {
            const fs::path shot = dir_ / "s.png";
            fs::remove(shot);
            const std::string out = "--keys " + keys + " --dump " + (dir_ / "d.json").string() +
                                    (picture ? " --screenshot " + shot.string() : "");
            const SimRun run = run_with(out, " 2>&1", checks);
            return std::vector<std::string>{std::to_string(run.status), run.out,
                                            read(dir_ / "d.json"), read(shot)};
        };
        const std::vector<std::string> checked = outputs(true, true);
        EXPECT_EQ(checked[0], "0");
        EXPECT_EQ(outputs(false, true), checked);
        std::vector<std::string> unseen = checked;
        unseen[3].clear();
        EXPECT_EQ(outputs(false, false), unseen);
    }
}

// A corridor of three tiles with an exit switch at its east end; the player starts at the west.
class SimulatorExit : public Simulator {
protected:
    std::string game(const std::string& exit_record) {
        fs::path bifs = dir_ / "game" / "bifs";
        fs::create_directories(bifs);
        write("game/build.cnt", "1\ntoday\n");
        write("game/bifs/gegenstand.bif", "TLeuchte { name = \"Lamp\" }\n");
        write("game/bifs/prototypen.bif", "TGegner { name = \"Rat\"  level = 1  hp = 2 }\n");
        write("game/bifs/Tastatur.bif", "TTastatur { go_right = 39  wait = 87 }\n");
        write("game/bifs/player.bif",
              "TPlayer { name = \"P\"  hp = 9  hpmax = 9  x = 1  y = 1 }\n");
        write("game/bifs/karte2.map", "5\n3\n11111\n10001\n11111\n" + exit_record);
        return "--dir " + (dir_ / "game").string() + " ";
    }
};

TEST_F(SimulatorExit, StandingOnTheExitAtTheEndOfATurnEndsTheGameAsAnEscape) {
    std::string dir = game(
        "TSchalter { name = \"Stair\"  x = 3  y = 1  art = \"Exit\""
        "  comment = \"Daylight at last!\" }\n");
    fs::path keys = write("keys", "right\nright\nright\nright\n");
    SimRun result = run(dir + "--keys " + keys.string() + " " + out_args());
    EXPECT_EQ(result.status, 0);
    nlohmann::json state = dump();
    EXPECT_EQ(state["ended"], "escaped");
    EXPECT_EQ(state["passes"], 2) << "the pass that reached the exit is the last one";
    EXPECT_EQ(state["player"]["x"], 3);
    EXPECT_EQ(state["notices"], nlohmann::json::array({"Daylight at last!"}));
    EXPECT_EQ(state["message_lines"][0], "Daylight at last!");

    // The last picture shows the text as the newest line of the log: every pixel of its glyphs
    // above the next line is white in the screenshot.
    Framebuffer shot(820, 470);
    std::string error;
    ASSERT_TRUE(read_png((dir_ / "s.png").string(), shot, &error)) << error;
    framebuffer().fill(Rgb{0, 0, 0});
    set_color(255, 255, 255);
    draw_text("Daylight at last!", 0, 400);
    int32_t glyph_pixels = 0;
    for (int32_t y = 400; y < 410; ++y) {
        for (int32_t x = 0; x < 8 * 17; ++x) {
            if (framebuffer().pixel(x, y) != Rgb{255, 255, 255}) continue;
            ++glyph_pixels;
            EXPECT_EQ(shot.pixel(x, y), (Rgb{255, 255, 255})) << x << "," << y;
        }
    }
    EXPECT_GT(glyph_pixels, 50);
    framebuffer().fill(Rgb{0, 0, 0});
}

TEST_F(SimulatorExit, AnExitWithoutCommentSaysTheEscapeAndWaitsForTheTurnsEnd) {
    std::string dir = game("TSchalter { name = \"Stair\"  x = 2  y = 1  art = \"exit\" }\n");
    // Walking onto it is a turn: the game ends after the first pass, not before.
    fs::path keys = write("keys", "\n\nright\n\n");
    EXPECT_EQ(run(dir + "--keys " + keys.string() + " " + out_args()).status, 0);
    EXPECT_EQ(dump()["ended"], "escaped");
    EXPECT_EQ(dump()["passes"], 3);
    EXPECT_EQ(dump()["notices"], nlohmann::json::array({"You have escaped!"}));
}

TEST_F(SimulatorExit, OtherArtsNeverEndTheGame) {
    std::string dir = game("TSchalter { name = \"Stair\"  x = 2  y = 1  art = \"exits\" }\n");
    fs::path keys = write("keys", "right\nw\nw\n");
    EXPECT_EQ(run(dir + "--keys " + keys.string() + " " + out_args()).status, 0);
    EXPECT_EQ(dump()["ended"], "script");
    EXPECT_EQ(dump()["turns"], 3);
    EXPECT_TRUE(dump()["notices"].empty());
}

TEST_F(SimulatorExit, CheckReportsProblemsOnStandardOutputAndExitsWithOne) {
    std::string dir = game("TSchalter { name = \"Stair\"  x = 4  y = 1  art = \"exit\" }\n");
    SimRun result = run(dir + "--check");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "bifs/karte2.map:6: the switch \"Stair\" stands in a wall at (4|1)\n");
    game("TSchalter { name = \"Stair\"  x = 3  y = 1  art = \"exit\" }\n");
    result = run("--check " + dir);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "");
}

}  // namespace
}  // namespace grotmere
