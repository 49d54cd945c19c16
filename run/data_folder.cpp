#include "run/data_folder.hpp"

#include <cstdlib>
#include <system_error>

#ifndef GROTMERE_DATA_FROM_PROGRAM
#define GROTMERE_DATA_FROM_PROGRAM "../share/grotmere"
#endif

namespace grotmere {

namespace fs = std::filesystem;

namespace {

// What the freedesktop base directory rules take when XDG_DATA_DIRS is unset or empty.
const char* const kDefaultDataDirs = "/usr/local/share/:/usr/share/";

std::vector<fs::path> xdg_places(const std::string& dirs) {
    std::vector<fs::path> places;
    const std::string list = dirs.empty() ? kDefaultDataDirs : dirs;
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(':', start);
        if (end == std::string::npos) end = list.size();
        const fs::path dir = list.substr(start, end - start);
        // Relative entries are invalid there and ignored, as the rules say.
        if (dir.is_absolute()) places.push_back(dir / "grotmere");
        start = end + 1;
    }
    return places;
}

}  // namespace

DataFolderPlaces data_folder_places() {
    DataFolderPlaces places;
    std::error_code error;
    places.working = fs::current_path(error);
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (!error) {
        places.install = (program.parent_path() / GROTMERE_DATA_FROM_PROGRAM).lexically_normal();
    }
    if (const char* dirs = std::getenv("XDG_DATA_DIRS")) places.xdg_data_dirs = dirs;
    return places;
}

bool holds_game_data(const fs::path& folder) {
    std::error_code error;
    return fs::is_directory(folder / "bifs", error);
}

DataFolderSearch find_data_folder(const std::optional<std::string>& named,
                                  const DataFolderPlaces& places) {
    DataFolderSearch search;
    if (named) {
        const fs::path folder = places.working / *named;
        if (holds_game_data(folder)) {
            search.found = folder;
        } else {
            search.problem = *named + " holds no game data: looked for the folder " +
                             (folder / "bifs").string() +
                             " (the item, monster, map, key and player " + "files) and " +
                             (folder / "build.cnt").string();
        }
        return search;
    }
    std::vector<fs::path> candidates{places.working};
    if (places.install) candidates.push_back(*places.install);
    for (const fs::path& place : xdg_places(places.xdg_data_dirs))
        candidates.push_back(place);
    std::string looked;
    for (const fs::path& candidate : candidates) {
        if (holds_game_data(candidate)) {
            search.found = candidate;
            return search;
        }
        looked += (looked.empty() ? "" : ", ") + candidate.string();
    }
    // The install's own folder is among those named, so a removed install shows as such.
    search.problem = "no game data found: looked for bifs/ in " + looked +
                     "; name the folder holding bifs/ and build.cnt with --dir DIR";
    return search;
}

}  // namespace grotmere
