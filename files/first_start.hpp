// Whether the game starts for the first time in a data folder, so that the window can show the
// "F1: help" hint once. The folders already played in are listed, one absolute path a line, in
// grotmere/started-folders under $XDG_DATA_HOME (or ~/.local/share). Only the game in its window
// asks; the simulator and the tests never do, so they never read or write that list.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace grotmere {

// Where the list is kept, from the environment; none when neither variable is set.
std::optional<std::filesystem::path> started_folders_file();

// Whether the list's text names the folder on a line of its own.
bool list_names_folder(std::string_view text, std::string_view folder);

// True the first time it is asked for a folder, and notes the folder in the list. A list that
// cannot be read or written does no harm: the hint then shows again next time. The list is read
// only when it is a regular file of at most a megabyte (anything else is left alone, with a
// warning), and rewritten as a whole, never in place.
bool first_start_in(const std::filesystem::path& data_folder,
                    const std::optional<std::filesystem::path>& list_file);

}  // namespace grotmere
