// The command line of the game in its window, and that --help and --version need no display.
#include <gtest/gtest.h>

#include <string>

#include "shell/game_options.hpp"
#include "tests/support/simulator_run.hpp"

namespace grotmere {
namespace {

GameArgs parse(std::vector<std::string> args) {
    return parse_game_args(args);
}

TEST(GameOptions, EveryOptionAndItsValue) {
    GameArgs none = parse({});
    EXPECT_EQ(none.action, GameArgs::Action::Play);
    EXPECT_FALSE(none.options.seed);
    EXPECT_FALSE(none.options.dir);
    EXPECT_EQ(none.options.scale, 1);

    GameArgs all =
        parse({"--seed", "-7", "--dir", "data", "--fullscreen", "--scale", "3", "--classic"});
    ASSERT_FALSE(all.usage_error) << *all.usage_error;
    EXPECT_EQ(all.options.seed, -7);
    EXPECT_EQ(all.options.dir, "data");
    EXPECT_TRUE(all.options.fullscreen);
    EXPECT_EQ(all.options.scale, 3);
    EXPECT_TRUE(all.options.classic);
    EXPECT_EQ(parse({"--seed", "4294967295"}).options.seed, -1) << "any 32-bit pattern";

    EXPECT_EQ(parse({"--seed", "1", "--help"}).action, GameArgs::Action::Help);
    EXPECT_EQ(parse({"--version"}).action, GameArgs::Action::Version);
}

TEST(GameOptions, UnknownOptionsAndBadValuesAreUsageErrors) {
    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{"--frobnicate"},
                                               {"game.map"},
                                               {"--seed"},
                                               {"--seed", "x1"},
                                               {"--seed", "4294967296"},
                                               {"--scale", "0"},
                                               {"--scale", "17"},
                                               {"--scale", "2x"},
                                               {"--dir", ""},
                                               {"--fullscreen", "--dir"}}) {
        EXPECT_TRUE(parse(bad).usage_error) << bad[0];
    }
}

TEST(GameOptions, RecordingsMorgueFilesAndPlayback) {
    GameArgs none = parse({});
    EXPECT_TRUE(none.options.record) << "every game is recorded unless told not to";
    EXPECT_FALSE(none.options.replay_file);

    GameArgs files = parse({"--record", "r.keys", "--morgue", "m.txt"});
    ASSERT_FALSE(files.usage_error) << *files.usage_error;
    EXPECT_EQ(files.options.record_file, "r.keys");
    EXPECT_EQ(files.options.morgue_file, "m.txt");
    GameArgs replay = parse({"--replay", "old.keys", "--speed", "2.5"});
    ASSERT_FALSE(replay.usage_error) << *replay.usage_error;
    EXPECT_EQ(replay.options.replay_file, "old.keys");
    EXPECT_EQ(replay.options.speed, 2.5);
    EXPECT_FALSE(parse({"--no-record"}).options.record);

    for (const char* speed : {"0", "0.1", "65", "fast", "", "nan", "inf", "-1"})
        EXPECT_TRUE(parse({"--replay", "r", "--speed", speed}).usage_error) << speed;
    EXPECT_TRUE(parse({"--replay"}).usage_error);
    EXPECT_TRUE(parse({"--record", ""}).usage_error);
}

// The real program, with every display taken away.
testing::SimRun run_game_without_display(const std::string& arguments) {
    return testing::run_command("env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER= " +
                                std::string(GROTMERE_GAME) + " " + arguments + " 2>&1");
}

TEST(GameCommandLine, HelpAndVersionPrintAndExitWithoutADisplay) {
    testing::SimRun help = run_game_without_display("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, usage_text(game_command_line()));
    testing::SimRun version = run_game_without_display("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("grotmere ", 0), 0u) << version.out;

    testing::SimRun bad = run_game_without_display("--scale 0");
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.out.find("usage: grotmere"), std::string::npos);
}

}  // namespace
}  // namespace grotmere
