// A generated dungeon as a data folder: the generator's palette is read from a game's own data
// (its monster and item prototypes and its starting pack, through the game's loader), and the
// dungeon is written as a complete folder beside copies of that data, which the content check
// must pass before the folder is handed over. A dungeon that breaks a promise or fails the check
// is thrown away and the next sub-seed is tried.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "gen/dungeon.hpp"

namespace grotmere {

class Backend;

// Reads the palette from the data folder `source`. Resets the world, and leaves it reset.
gen::Palette read_palette(const std::filesystem::path& source);

// The first dungeon of `seed` that keeps every promise and passes the content check, written to
// `target` (files/generated_folder.hpp says which folders it replaces; an existing folder holding
// the same dungeon is kept as it is). The game itself is not touched: the world is left reset.
// None, with `error` set, when no sub-seed within the bound gives one, a file cannot be written,
// or `target` is refused (then `refused`, when given, is set).
std::optional<gen::Dungeon> generate_data_folder(int32_t seed, const std::filesystem::path& source,
                                                 const std::filesystem::path& target,
                                                 std::string& error, bool* refused = nullptr);

// "generator 1, seed 42": what a recording or a morgue file of a generated game names.
std::string generated_dungeon_line(int32_t seed);

// The generator's version and seed of the dungeon in a data folder, from its map file's first
// comment; none for a dungeon made by hand.
struct GeneratedMark {
    int32_t version = 0;
    int32_t seed = 0;
};
std::optional<GeneratedMark> generated_mark(const std::filesystem::path& folder);
// The same from a recording's "generator 1, seed 42".
std::optional<GeneratedMark> read_generated_line(const std::string& line);
std::string generated_line(const GeneratedMark& mark);

// "generator 1, seed 42" when the game is played in a generated dungeon, else "".
std::string dungeon_here();

// Generates the dungeon of the seed from the data folder's (the working directory's) monsters and
// items into the user's folder, and goes there to play it; false, with a notice, when it cannot.
bool enter_generated_dungeon(Backend& window, int32_t seed);

// A recording (at `path`) of the generated dungeon `dungeon` ("generator 1, seed 42") plays in that
// dungeon, made again from its seed; a dungeon of another version of the generator cannot be made
// again, and is refused with a notice.
bool enter_recorded_dungeon(Backend& window, const std::string& path, const std::string& dungeon);

// Where `grotmere --new-dungeon` keeps the dungeon of a seed: under the user's data folder.
std::optional<std::filesystem::path> generated_dungeon_folder(int32_t seed);

}  // namespace grotmere
