// The recording's lines: hits folded from a press and its release, runs of empty passes, and a
// file that cannot be written.
#include "replay/recording.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace grotmere {
namespace {

namespace fs = std::filesystem;

class Recording : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = fs::temp_directory_path() / ("grotmere_rec_" + std::to_string(::getpid())) / "sub" /
                "game.keys";
    }
    void TearDown() override { fs::remove_all(path_.parent_path().parent_path()); }

    std::string written() const {
        std::ifstream in(path_);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    fs::path path_;
};

TEST_F(Recording, WritesOneLinePerPassAndRunsOfEmptyPasses) {
    GameRecorder recorder;
    ASSERT_TRUE(recorder.open(create_new_file(path_.string()), 5, "Build 1/x", "00ff"));
    recorder.pressed(37);
    recorder.released(37);
    recorder.pressed(160);
    recorder.end_pass();
    recorder.end_pass();
    recorder.end_pass();
    recorder.end_pass();
    recorder.pressed(65);
    recorder.released(160);
    recorder.released(65);
    recorder.focus_changed();
    recorder.end_pass();
    recorder.end_pass();
    recorder.close_requested();
    recorder.end_pass();
    recorder.close();
    EXPECT_EQ(
        written(),
        "seed 5\n# Build 1/x, data 00ff\nleft +lshift\npass 3\n+a -lshift -a focus\n\nclose\n");
}

TEST_F(Recording, FlushesEveryHundredPassesSoACrashLosesLittle) {
    GameRecorder recorder;
    ASSERT_TRUE(recorder.open(create_new_file(path_.string()), 1, "b", "h"));
    for (int32_t pass = 0; pass < 250; ++pass) {
        if (pass % 50 == 0) recorder.pressed(87), recorder.released(87);
        recorder.end_pass();
    }
    const std::string before_close = written();
    EXPECT_NE(before_close.find("pass 49\nw\npass 49\n"), std::string::npos) << before_close;
    recorder.close();
    EXPECT_EQ(written(),
              "seed 1\n# b, data h\nw\npass 49\nw\npass 49\nw\npass 49\nw\npass 49\nw\n"
              "pass 49\n");
}

TEST_F(Recording, AFileThatCannotBeWrittenCostsAWarningOnly) {
    GameRecorder recorder;
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(recorder.open(create_new_file("/proc/no/such/folder/game.keys"), 1, "b", "h"));
    EXPECT_NE(::testing::internal::GetCapturedStderr().find(
                  "no recording: cannot make the folder /proc/no/such/folder"),
              std::string::npos);
    recorder.pressed(37);
    recorder.end_pass();
    recorder.close();
    EXPECT_FALSE(recorder.recording());
}

}  // namespace
}  // namespace grotmere
