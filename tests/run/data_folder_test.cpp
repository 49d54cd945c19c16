#include "run/data_folder.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

namespace grotmere {
namespace {

namespace fs = std::filesystem;

// The places are looked at in order, and only a folder holding bifs/ counts: a working directory
// without data does not hide an install.
TEST(DataFolder, TheFirstPlaceHoldingBifsIsTaken) {
    const fs::path root =
        fs::temp_directory_path() / ("grotmere_data_" + std::to_string(::getpid()));
    fs::create_directories(root / "work");
    fs::create_directories(root / "xdg b/grotmere/bifs");
    DataFolderPlaces places{root / "work", root / "install",
                            "grotmere:" + root.string() + "/xdg a:" + root.string() + "/xdg b"};
    EXPECT_EQ(find_data_folder(std::nullopt, places).found, root / "xdg b/grotmere");

    fs::create_directories(root / "install/bifs");
    EXPECT_EQ(find_data_folder(std::nullopt, places).found, root / "install");

    fs::create_directories(root / "work/bifs");
    EXPECT_EQ(find_data_folder(std::nullopt, places).found, root / "work");

    const DataFolderSearch named = find_data_folder(std::string("xdg a"), {root, {}, ""});
    EXPECT_FALSE(named.found) << "a named folder is never looked past";
    EXPECT_NE(named.problem.find(root.string() + "/xdg a/bifs"), std::string::npos);

    places.install.reset();
    fs::remove_all(root);
    const DataFolderSearch none = find_data_folder(std::nullopt, places);
    EXPECT_FALSE(none.found);
    EXPECT_NE(none.problem.find("--dir"), std::string::npos) << none.problem;
}

}  // namespace
}  // namespace grotmere
