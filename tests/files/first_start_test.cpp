#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "files/first_start.hpp"

namespace grotmere {
namespace {

namespace fs = std::filesystem;

class FirstStart : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("grotmere_first_" + std::to_string(::getpid()));
        fs::create_directories(dir_ / "game");
        fs::create_directories(dir_ / "other");
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

TEST_F(FirstStart, OncePerFolderWhateverTheWayItIsNamed) {
    const fs::path list = dir_ / "data" / "grotmere" / "started-folders";
    EXPECT_TRUE(first_start_in(dir_ / "game", list)) << "the list and its folder are made";
    EXPECT_FALSE(first_start_in(dir_ / "game", list));
    EXPECT_FALSE(first_start_in(dir_ / "other" / ".." / "game", list));
    EXPECT_TRUE(first_start_in(dir_ / "other", list));
    EXPECT_FALSE(first_start_in(dir_ / "other", list));
}

TEST_F(FirstStart, AListThatCannotBeKeptShowsTheHintAgain) {
    std::ofstream(dir_ / "file") << "x";
    const fs::path unwritable = dir_ / "file" / "started-folders";  // under a plain file
    EXPECT_TRUE(first_start_in(dir_ / "game", unwritable));
    EXPECT_TRUE(first_start_in(dir_ / "game", unwritable));
    EXPECT_TRUE(first_start_in(dir_ / "game", std::nullopt));
}

TEST_F(FirstStart, TheListLivesUnderTheDataHome) {
    const char* saved_data = std::getenv("XDG_DATA_HOME");
    const char* saved_home = std::getenv("HOME");
    const std::string data = saved_data ? saved_data : "";
    const std::string home = saved_home ? saved_home : "";
    ::setenv("XDG_DATA_HOME", "/xdg", 1);
    ::setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(started_folders_file(), fs::path("/xdg/grotmere/started-folders"));
    ::setenv("XDG_DATA_HOME", "relative", 1);
    EXPECT_EQ(started_folders_file(),
              fs::path("/home/someone/.local/share/grotmere/started-folders"));
    ::unsetenv("XDG_DATA_HOME");
    ::unsetenv("HOME");
    EXPECT_FALSE(started_folders_file());
    if (saved_data) ::setenv("XDG_DATA_HOME", data.c_str(), 1);
    if (saved_home) ::setenv("HOME", home.c_str(), 1);
}

}  // namespace
}  // namespace grotmere
