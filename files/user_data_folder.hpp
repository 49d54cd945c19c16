// Where the game keeps what it writes about its games, by the freedesktop base directory rules:
// $XDG_DATA_HOME/grotmere when that is an absolute path, else ~/.local/share/grotmere. Beneath it:
// recordings/, morgue/, unfinished/, dungeons/, the hall of fame (scores) and the list of
// started folders.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace grotmere {

// None when neither variable is set.
std::optional<std::string> user_data_folder();

// "2026-12-07_14-05-09_seed42": a recording's or morgue file's name without its extension, by
// local date and time and seed.
std::string recording_file_stem(int32_t seed);

}  // namespace grotmere
