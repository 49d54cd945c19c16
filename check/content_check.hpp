// grotmere-sim --check: reads the game's data files the way start-up reads them, through the same
// record loader, and looks for the mistakes a content author can make that the game itself would
// pass over in silence: names that match no prototype, places outside the map or inside walls,
// doors nobody can open, keys that open nothing, effect texts that name no field or divide by
// zero, an exit that cannot be reached, map rows of the wrong length. Every problem names the file
// and the line of the record (or grid row) it is about. The check plays nothing.
#pragma once

#include <string>

#include "records/load_problems.hpp"

namespace grotmere {

// Checks the data under the working directory (bifs/ and its map). Resets the world first; the
// records are read into lists of the check's own, so the world is left as reset but for the map's
// size and name. The loader's own problems (unknown types and fields, broken syntax) are reported
// in the order the files are read, before the problems of the records.
LoadProblems check_content();

// "bifs/karte2.map:131: the light "Torch" stands in a wall at (3|4)"
std::string check_line(const LoadProblem& problem);

}  // namespace grotmere
