// Where the game's data is: the folder holding `bifs/` and `build.cnt`. A folder named on the
// command line is taken as it is; otherwise the working directory when it holds `bifs/`, then the
// data folder of the install the program belongs to (found from the program's own path, so a
// moved install still works), then `grotmere/` under each folder of $XDG_DATA_DIRS. The game
// reads its data there and never writes into it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace grotmere {

// The places looked at, in order, when no folder is named.
struct DataFolderPlaces {
    std::filesystem::path working;                 // the working directory
    std::optional<std::filesystem::path> install;  // the install's data folder, from the program
    std::string xdg_data_dirs;                     // as in the environment, may be empty
};

struct DataFolderSearch {
    std::optional<std::filesystem::path> found;
    std::string problem;  // why nothing was found: what was looked for, and where
};

// The places of this process: its working directory, the data folder beside its own program file
// and the environment's XDG_DATA_DIRS.
DataFolderPlaces data_folder_places();

// Whether a folder holds the game's data files.
bool holds_game_data(const std::filesystem::path& folder);

// The data folder: `named` (the --dir of the command line) if given, else the first place holding
// game data. A named folder without `bifs/` is refused with the files it lacks.
DataFolderSearch find_data_folder(const std::optional<std::string>& named,
                                  const DataFolderPlaces& places);

}  // namespace grotmere
