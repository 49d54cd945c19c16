#include "shell/unfinished_game.hpp"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace grotmere {
namespace {

namespace fs = std::filesystem;

class UnfinishedGames : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("grotmere_unfinished_" + std::to_string(::getpid()));
        fs::create_directories(root_);
        const char* home = std::getenv("XDG_DATA_HOME");
        if (home) kept_home_ = home;
        ::setenv("XDG_DATA_HOME", root_.c_str(), 1);
    }
    void TearDown() override {
        if (kept_home_)
            ::setenv("XDG_DATA_HOME", kept_home_->c_str(), 1);
        else
            ::unsetenv("XDG_DATA_HOME");
        fs::remove_all(root_);
    }
    std::string recording(const std::string& text) {
        const fs::path path = root_ / "game.keys";
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }
    fs::path root_;
    std::optional<std::string> kept_home_;
};

// One window holds a data folder's game; a second does not take it over, and a lock left by a
// process that is gone is broken.
TEST_F(UnfinishedGames, OneWindowHoldsTheLockAndADeadOwnersLockIsBroken) {
    {
        const UnfinishedLock first("abc");
        const UnfinishedLock second("abc");
        EXPECT_TRUE(first.held());
        EXPECT_FALSE(second.held());
    }
    std::ofstream(root_ / "grotmere" / "unfinished" / "abc.lock") << "2147483646\n";
    EXPECT_TRUE(UnfinishedLock("abc").held());
    // Left by an earlier process of this one's number, as every browser page has the same.
    std::ofstream(root_ / "grotmere" / "unfinished" / "abc.lock") << ::getpid() << "\n";
    EXPECT_TRUE(UnfinishedLock("abc").held());
}

// A crash cuts the last line: the game goes on from the last whole one. A recording made on other
// data is put aside, never deleted, and forgotten.
TEST_F(UnfinishedGames, ACutRecordingGoesOnAndOneOfOtherDataIsPutAside) {
    note_unfinished("abc", recording("seed 5\n# build, data abc\nright\npass 3\nle"));
    const std::optional<UnfinishedGame> game = find_unfinished("abc");
    ASSERT_TRUE(game);
    EXPECT_EQ(game->kept_text, "seed 5\n# build, data abc\nright\npass 3\n");
    EXPECT_EQ(game->script.passes, 4);

    note_unfinished("abc", recording("seed 5\n# build, data other\nright\n"));
    EXPECT_FALSE(find_unfinished("abc"));
    EXPECT_TRUE(fs::exists(root_ / "game.keys.unplayable"));
    EXPECT_FALSE(find_unfinished("abc")) << "the note is forgotten";
}

}  // namespace
}  // namespace grotmere
