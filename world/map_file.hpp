// The map file: its width and height on the first two lines, then one line of terrain digits per
// row, then a record section in the definition format whose lights, monster spawns, switches,
// doors and teleports are put on the map. Loading replaces every tile. A file that cannot be read,
// or whose size does not fit the grid, is refused before anything changes; every other mistake
// in it is warned about on standard error and in `load_problems`, and loading goes on.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>

#include "base/text_file.hpp"
#include "records/definition_loader.hpp"
#include "records/load_problems.hpp"

namespace grotmere {

// Start-up's map.
inline const std::string kMapFile = "bifs/karte2.map";

// The line of the "{" that began each record of the map file itself (not of a file it includes),
// for warnings about records placed after the load.
using RecordLines = std::unordered_map<const Record*, int32_t>;

// Puts the map section's monster spawns on the map: it runs after the lights are placed and
// before the switches, doors and teleports, and takes the spawn records out of map_records.
// `lines` tells where each record of the file began; it answers the warnings, which the load
// reports with its own (at most kMostWarningsPerFile of them for the file, then a count).
using PlaceMonsters =
    std::function<LoadProblems(const std::string& file, const RecordLines& lines)>;

// Loads the file as the map (relative to the working directory). Returns none, or why the file
// was refused: the file and a message naming the bad value, such as "the map width 300 lies
// outside 1 to 256". The game loads its map with load_map_file (actors/world_passes.hpp), which
// brings the monsters.
std::optional<LoadProblem> read_map_file(const std::string& file,
                                         const PlaceMonsters& place_monsters);

// The two steps of a map load that put the records of map_records on the tiles, answering what
// they would warn about: the lights (fresh copies of their prototypes, taken out of map_records),
// then, after the monsters, the switches, doors and teleports (which stay in map_records too).
LoadProblems place_lights(const std::string& file, const RecordLines& lines);
LoadProblems place_features(const std::string& file, const RecordLines& lines);

// What a map file holds that the rules read soundly though it was surely not meant, for the
// load's warnings and the content check alike; each answers "" when all is well.
// - The first character of a grid row, within the map's width, that is no terrain digit (read as
//   floor). A row that holds "{", "}" or "=" is said apart, as the record section.
std::string odd_tile_in_row(const std::string& row, int32_t y, int32_t width);
// - The lines after the grid that look like more rows (digits only, the map's width long): the
//   height may be too small, and they are read as the record section. Reads from `in`.
std::string rows_beyond_height(TextFile& in, int32_t width, int32_t height);
// - A record of the map's section that nothing places: treasure, missiles and buffs.
std::string unplaced_map_record(const Record& record);

// Where a record of the map file began, or 0 when it is not known.
int32_t line_of(const RecordLines& lines, const Record& record);

}  // namespace grotmere
