#include "files/unfinished_game.hpp"

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
    // A file's text, none when nothing of that name is there.
    static std::optional<std::string> content(const fs::path& path) {
        if (!fs::exists(fs::symlink_status(path))) return std::nullopt;
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    fs::path root_;
    std::optional<std::string> kept_home_;
};

// One window holds a data folder's game and a second is told by whom. The lock is the kernel's:
// a lock file naming a live process that holds no lock (a number used again after a crash) is
// taken, and a folder or a link in its place is reported, not taken for another window's.
TEST_F(UnfinishedGames, OnlyALiveHolderKeepsTheLockAndAFakeOneIsNoLock) {
    const fs::path lock = root_ / "grotmere" / "unfinished" / "abc.lock";
    {
        const UnfinishedLock first("abc");
        const UnfinishedLock second("abc");
        EXPECT_TRUE(first.held());
        EXPECT_FALSE(second.held());
        ASSERT_TRUE(second.elsewhere());
        EXPECT_TRUE(
            second.elsewhere()->starts_with("process " + std::to_string(::getpid()) + ", since "));
    }
    std::ofstream(lock) << ::getppid() << "\n";
    EXPECT_TRUE(UnfinishedLock("abc").held());
    fs::remove(lock);
    fs::create_directory(lock);
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(UnfinishedLock("abc").held());
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("is a folder"), std::string::npos);
    fs::remove(lock);
    fs::create_symlink(root_ / "elsewhere", lock);
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(UnfinishedLock("abc").held());
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("is a symbolic link"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(root_ / "elsewhere")) << "the link is not followed";
}

// A crash cuts the last line: the game goes on from the last whole one. A note naming anything
// but a recording of these data in the recordings folder is set aside, and what it names is left
// exactly as it is.
TEST_F(UnfinishedGames, ACutRecordingGoesOnAndANoteNamingAnythingElseIsSetAside) {
    const fs::path folder = root_ / "grotmere" / "recordings";
    fs::create_directories(folder);
    auto in_folder = [&](const std::string& name, const std::string& text) {
        std::ofstream(folder / name, std::ios::binary) << text;
        return (folder / name).string();
    };
    note_unfinished("abc", in_folder("cut.keys", "seed 5\n# build, data abc\nright\npass 3\nle"));
    const std::optional<UnfinishedGame> game = find_unfinished("abc");
    ASSERT_TRUE(game);
    EXPECT_EQ(game->kept_text, "seed 5\n# build, data abc\nright\npass 3\n");
    EXPECT_EQ(game->script.passes, 4);

    fs::create_symlink(recording("seed 5\n# build, data abc\n"), folder / "link.keys");
    const struct {
        std::string named;
        std::string said;
    } notes[] = {
        {recording("seed 5\n# build, data abc\n"), "is no file in the recordings folder"},
        {(folder / "link.keys").string(), "is no file in the recordings folder"},
        {(folder / ".." / "scores").string(), "is no file in the recordings folder"},
        {(folder / "gone.keys").string(), "is missing"},
        {in_folder("other.keys", "seed 5\n# build, data other\nright\n"),
         "is no recording of these data files"},
        {in_folder("bindings.keys", "TTastatur { go_left = 37 }\n"), "cannot be read"},
    };
    for (const auto& note : notes) {
        note_unfinished("abc", note.named);
        const std::optional<std::string> before = content(note.named);
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(find_unfinished("abc")) << note.named;
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find(note.named + ", which " + note.said), std::string::npos) << said;
        EXPECT_FALSE(fs::exists(root_ / "grotmere" / "unfinished" / "abc")) << "set aside";
        EXPECT_EQ(content(note.named), before) << note.named;
    }
    EXPECT_TRUE(fs::exists(root_ / "grotmere" / "unfinished" / "abc.set-aside-6"));
}

}  // namespace
}  // namespace grotmere
