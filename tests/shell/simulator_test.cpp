// grotmere-sim as outside checks use it: the real binary, its command line, key script, exit
// status, standard output, dump and screenshot.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "platform/canvas.hpp"
#include "platform/drawing.hpp"
#include "platform/png_writer.hpp"

namespace grotmere {
namespace {

namespace fs = std::filesystem;

struct SimRun {
    int status = -1;
    std::string out;
};

class Simulator : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("grotmere_sim_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path write(const std::string& name, const std::string& text) {
        fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    // Runs the simulator on the shipped data; standard error is discarded.
    SimRun run(const std::string& arguments) {
        std::string command = std::string(GROTMERE_SIM) + " --dir " + GROTMERE_SOURCE_DIR + " " +
                              arguments + " 2>/dev/null";
        SimRun result;
        FILE* pipe = ::popen(command.c_str(), "r");
        if (!pipe) return result;
        std::array<char, 4096> buffer{};
        for (size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) {
            result.out.append(buffer.data(), n);
        }
        int raw = ::pclose(pipe);
        result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        return result;
    }

    nlohmann::json dump() {
        std::ifstream in(dir_ / "d.json");
        return nlohmann::json::parse(in);
    }

    std::string out_args() {
        return "--dump " + (dir_ / "d.json").string() + " --screenshot " +
               (dir_ / "s.png").string();
    }

    fs::path dir_;
};

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
