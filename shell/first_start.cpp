#include "shell/first_start.hpp"

#include <cstdlib>
#include <fstream>
#include <string>

namespace grotmere {

namespace fs = std::filesystem;

std::optional<fs::path> started_folders_file() {
    const char* data_home = std::getenv("XDG_DATA_HOME");
    fs::path base;
    // A relative XDG_DATA_HOME is to be ignored, as the base directory rules say.
    if (data_home && *data_home && fs::path(data_home).is_absolute()) {
        base = data_home;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = fs::path(home) / ".local" / "share";
    } else {
        return std::nullopt;
    }
    return base / "grotmere" / "started-folders";
}

bool first_start_in(const fs::path& data_folder, const std::optional<fs::path>& list_file) {
    std::error_code error;
    fs::path folder = fs::weakly_canonical(fs::absolute(data_folder, error), error);
    if (error) folder = data_folder;
    const std::string key = folder.string();
    if (!list_file) return true;
    {
        std::ifstream in(*list_file);
        for (std::string line; std::getline(in, line);) {
            if (line == key) return false;
        }
    }
    fs::create_directories(list_file->parent_path(), error);
    std::ofstream(*list_file, std::ios::app) << key << '\n';
    return true;
}

}  // namespace grotmere
